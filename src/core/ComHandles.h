#pragma once
// Owners for COM: an apartment that this scope initialised, and an interface
// pointer released exactly once. Declare the apartment before the interfaces
// it serves, so the interfaces are released before it is uninitialised.
#include <objbase.h>
#include <ole2.h>

#include <utility>

namespace qor {

// CoInitializeEx on construction, CoUninitialize on destruction when the
// initialisation counted (S_OK or S_FALSE). A thread already in the other
// apartment model keeps it: COM is usable there and nothing is undone.
class ComApartment {
public:
    ComApartment() noexcept : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    // False only when COM cannot be used on this thread at all.
    bool Usable() const noexcept { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }
    HRESULT Result() const noexcept { return result_; }

private:
    HRESULT result_;
};

// OleInitialize on construction (an apartment-threaded COM apartment plus
// OLE's clipboard and drag and drop), OleUninitialize on destruction when this
// scope's initialisation counted. A thread in the other apartment model keeps
// it and nothing is undone.
class OleApartment {
public:
    OleApartment() noexcept : result_(OleInitialize(nullptr)) {}
    ~OleApartment() {
        if (SUCCEEDED(result_)) OleUninitialize();
    }
    OleApartment(const OleApartment&) = delete;
    OleApartment& operator=(const OleApartment&) = delete;

private:
    HRESULT result_;
};

// One reference to a COM interface.
template <typename Interface>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }

    Interface* get() const noexcept { return p_; }
    Interface* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    // For the out-parameter of a creating call; releases what was held.
    Interface** put() noexcept {
        reset();
        return &p_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    void reset() noexcept {
        if (Interface* old = std::exchange(p_, nullptr)) old->Release();
    }

private:
    Interface* p_ = nullptr;
};

} // namespace qor
