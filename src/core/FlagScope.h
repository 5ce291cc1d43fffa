#pragma once
// Keeps a flag set for a scope, whatever leaves it (a return, an exception):
// the re-entry guards and "busy" marks of the controls.
namespace qor {

class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

} // namespace qor
