#include "trackbar/MasterVolume.h"

#include <windows.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/ComHandles.h"
#include "core/ScriptError.h"

namespace qor {

namespace {

// {BCDE0395-E52F-467C-8E3D-C4579291692E}
const CLSID kDeviceEnumeratorClass = {0xBCDE0395, 0xE52F, 0x467C, {0x8E, 0x3D, 0xC4, 0x57, 0x92, 0x91, 0x69, 0x2E}};
// {A95664D2-9614-4F35-A746-DE8DB63617E6}
const IID kDeviceEnumeratorInterface = {0xA95664D2, 0x9614, 0x4F35, {0xA7, 0x46, 0xDE, 0x8D, 0xB6, 0x36, 0x17, 0xE6}};
// {5CDF2C82-841E-4546-9722-0CF74078229A}
const IID kEndpointVolumeInterface = {0x5CDF2C82, 0x841E, 0x4546, {0x97, 0x22, 0x0C, 0xF7, 0x40, 0x78, 0x22, 0x9A}};

// {7991EEC9-7E89-4D85-8390-6C703CEC60C0}
const IID kNotificationClientInterface = {0x7991EEC9, 0x7E89, 0x4D85, {0x83, 0x90, 0x6C, 0x70, 0x3C, 0xEC, 0x60, 0xC0}};
// {00000000-0000-0000-C000-000000000046}
const IID kUnknownInterface = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

constexpr HRESULT kDeviceInvalidated = static_cast<HRESULT>(0x88890004); // AUDCLNT_E_DEVICE_INVALIDATED

void Check(HRESULT result) {
    if (FAILED(result)) throw ScriptError(FailureMessage(result));
}

// One opened device's volume, in HRESULTs, and whether the system named
// another default playback device since it was opened.
class VolumeEndpoint {
public:
    virtual ~VolumeEndpoint() = default;
    virtual HRESULT GetLevel(float& level) = 0;
    virtual HRESULT PutLevel(float level) = 0;
    virtual bool DefaultChanged() const = 0;
};
// Opens the default device's volume; throws ScriptError as OpenMasterVolume does.
using EndpointOpener = std::unique_ptr<VolumeEndpoint> (*)();

// Keeps to the default device: reopens before a call when the default changed,
// and once more when a call finds its device gone.
class DefaultDeviceVolume final : public MasterVolume {
public:
    explicit DefaultDeviceVolume(EndpointOpener open) : open_(open), endpoint_(open()) {}

    float Level() override {
        float level = 0.0f;
        Call([&level](VolumeEndpoint& endpoint) { return endpoint.GetLevel(level); });
        return level;
    }
    void SetLevel(float level) override {
        Call([level](VolumeEndpoint& endpoint) { return endpoint.PutLevel(level); });
    }

private:
    template <class Operation>
    void Call(Operation operation) {
        if (!endpoint_ || endpoint_->DefaultChanged()) Reopen();
        HRESULT result = operation(*endpoint_);
        if (result == kDeviceInvalidated) {
            Reopen();
            result = operation(*endpoint_);
        }
        Check(result);
    }
    // The old device goes first; when no device opens, the next call tries again.
    void Reopen() {
        endpoint_.reset();
        endpoint_ = open_();
    }

    EndpointOpener open_;
    std::unique_ptr<VolumeEndpoint> endpoint_;
};

// Told by the system when the default playback device changes (on a thread
// of its own: the flag is all it touches).
class DefaultDeviceWatch final : public IMMNotificationClient {
public:
    bool Changed() const { return changed_.load(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, kUnknownInterface) || IsEqualIID(iid, kNotificationClientInterface)) {
            *out = static_cast<IMMNotificationClient*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR) override {
        if (flow == eRender && role == eConsole) changed_ = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY) override { return S_OK; }

private:
    ~DefaultDeviceWatch() = default;
    std::atomic<ULONG> references_{1};
    std::atomic<bool> changed_{false};
};

// The default playback device's endpoint volume. The apartment is declared
// first: COM is initialised before the interfaces are obtained and
// uninitialised only after the last of them is released.
class CoreAudioEndpoint final : public VolumeEndpoint {
public:
    CoreAudioEndpoint() {
        if (!com_.Usable()) Check(com_.Result());
        Check(CoCreateInstance(kDeviceEnumeratorClass, nullptr, CLSCTX_INPROC_SERVER, kDeviceEnumeratorInterface,
                               enumerator_.put_void()));
        ComPtr<IMMDevice> device;
        Check(enumerator_->GetDefaultAudioEndpoint(eRender, eConsole, device.put()));
        Check(device->Activate(kEndpointVolumeInterface, CLSCTX_INPROC_SERVER, nullptr, endpoint_.put_void()));
        // Without the notice the slider still reopens when its device goes away.
        ComPtr<DefaultDeviceWatch> watch;
        *watch.put() = new DefaultDeviceWatch;
        if (SUCCEEDED(enumerator_->RegisterEndpointNotificationCallback(watch.get()))) watch_ = std::move(watch);
    }
    ~CoreAudioEndpoint() override {
        if (watch_) enumerator_->UnregisterEndpointNotificationCallback(watch_.get());
    }
    CoreAudioEndpoint(const CoreAudioEndpoint&) = delete;
    CoreAudioEndpoint& operator=(const CoreAudioEndpoint&) = delete;

    HRESULT GetLevel(float& level) override { return endpoint_->GetMasterVolumeLevelScalar(&level); }
    HRESULT PutLevel(float level) override { return endpoint_->SetMasterVolumeLevelScalar(level, nullptr); }
    bool DefaultChanged() const override { return watch_ && watch_->Changed(); }

private:
    ComApartment com_;
    ComPtr<IMMDeviceEnumerator> enumerator_;
    ComPtr<IAudioEndpointVolume> endpoint_;
    ComPtr<DefaultDeviceWatch> watch_;
};

std::unique_ptr<VolumeEndpoint> OpenCoreAudio() { return std::make_unique<CoreAudioEndpoint>(); }

#ifdef QOR_TEST_BUILD
constexpr char kTestLevelVariable[] = "QOR_TEST_MASTER_LEVEL";
constexpr char kTestDevicesVariable[] = "QOR_TEST_MASTER_DEVICES";
constexpr long kNoDevice = static_cast<long>(0x80070490); // what a machine without a device answers

bool TestText(const std::string& variable, std::string& text) {
    char buffer[256] = {};
    const DWORD n = GetEnvironmentVariableA(variable.c_str(), buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return false;
    text.assign(buffer, n);
    return true;
}

// The stand-in's devices: none listed means the stand-in has one unnamed device.
bool TestDevices(std::vector<std::string>& names) {
    std::string list;
    if (!TestText(kTestDevicesVariable, list)) return false;
    names.clear();
    if (list == "none") return true;
    for (size_t at = 0; at < list.size();) {
        const size_t end = std::min(list.find(' ', at), list.size());
        if (end > at) names.push_back(list.substr(at, end - at));
        at = end + 1;
    }
    return true;
}

// The stand-in: one device's level lives in the process environment as decimal text.
class EnvironmentEndpoint final : public VolumeEndpoint {
public:
    explicit EnvironmentEndpoint(std::string device) : device_(std::move(device)) {}

    HRESULT GetLevel(float& level) override {
        if (Gone()) return kDeviceInvalidated;
        std::string text;
        if (!TestText(LevelVariable(), text) || text == "none") return static_cast<HRESULT>(kNoDevice);
        level = std::strtof(text.c_str(), nullptr);
        return S_OK;
    }
    HRESULT PutLevel(float level) override {
        if (Gone()) return kDeviceInvalidated;
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(level));
        SetEnvironmentVariableA(LevelVariable().c_str(), buffer);
        return S_OK;
    }
    bool DefaultChanged() const override {
        std::vector<std::string> devices;
        return TestDevices(devices) && (devices.empty() || devices[0] != device_);
    }

private:
    std::string LevelVariable() const {
        return device_.empty() ? std::string(kTestLevelVariable) : std::string(kTestLevelVariable) + "_" + device_;
    }
    bool Gone() const {
        std::vector<std::string> devices;
        return TestDevices(devices) && std::find(devices.begin(), devices.end(), device_) == devices.end();
    }

    std::string device_;
};

std::unique_ptr<VolumeEndpoint> OpenStandIn() {
    std::string level;
    if (TestText(kTestLevelVariable, level) && level == "none") throw ScriptError(FailureMessage(kNoDevice));
    std::vector<std::string> devices;
    if (!TestDevices(devices)) return std::make_unique<EnvironmentEndpoint>(std::string());
    if (devices.empty()) throw ScriptError(FailureMessage(kNoDevice));
    return std::make_unique<EnvironmentEndpoint>(devices[0]);
}
#endif

} // namespace

std::string FailureMessage(long code) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message(text ? text : "", text ? n : 0);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    if (message.empty()) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "OLE error %08lX", static_cast<unsigned long>(code));
        message = buffer;
    }
    return message;
}

std::unique_ptr<MasterVolume> OpenMasterVolume() {
#ifdef QOR_TEST_BUILD
    std::string text;
    if (TestText(kTestLevelVariable, text)) return std::make_unique<DefaultDeviceVolume>(OpenStandIn);
#endif
    return std::make_unique<DefaultDeviceVolume>(OpenCoreAudio);
}

} // namespace qor
