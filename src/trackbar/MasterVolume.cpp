#include "trackbar/MasterVolume.h"

#include <windows.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <cstdio>
#include <cstdlib>

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

void Check(HRESULT result) {
    if (FAILED(result)) throw ScriptError(FailureMessage(result));
}

// The default playback device's endpoint volume. The apartment is declared
// first: COM is initialised before the interfaces are obtained and
// uninitialised only after the last of them is released.
class CoreAudioVolume final : public MasterVolume {
public:
    CoreAudioVolume() {
        if (!com_.Usable()) Check(com_.Result());
        ComPtr<IMMDeviceEnumerator> enumerator;
        Check(CoCreateInstance(kDeviceEnumeratorClass, nullptr, CLSCTX_INPROC_SERVER, kDeviceEnumeratorInterface,
                               enumerator.put_void()));
        ComPtr<IMMDevice> device;
        Check(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, device.put()));
        Check(device->Activate(kEndpointVolumeInterface, CLSCTX_INPROC_SERVER, nullptr, endpoint_.put_void()));
    }

    float Level() override {
        float level = 0.0f;
        Check(endpoint_->GetMasterVolumeLevelScalar(&level));
        return level;
    }
    void SetLevel(float level) override { Check(endpoint_->SetMasterVolumeLevelScalar(level, nullptr)); }

private:
    ComApartment com_;
    ComPtr<IAudioEndpointVolume> endpoint_;
};

#ifdef QOR_TEST_BUILD
constexpr char kTestLevelVariable[] = "QOR_TEST_MASTER_LEVEL";
constexpr long kNoDevice = static_cast<long>(0x80070490); // what a machine without a device answers

bool TestLevelText(std::string& text) {
    char buffer[64] = {};
    const DWORD n = GetEnvironmentVariableA(kTestLevelVariable, buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return false;
    text.assign(buffer, n);
    return true;
}

// The stand-in: the level lives in the process environment as decimal text.
class EnvironmentVolume final : public MasterVolume {
public:
    float Level() override {
        std::string text;
        if (!TestLevelText(text) || text == "none") throw ScriptError(FailureMessage(kNoDevice));
        return std::strtof(text.c_str(), nullptr);
    }
    void SetLevel(float level) override {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(level));
        SetEnvironmentVariableA(kTestLevelVariable, buffer);
    }
};
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
    if (TestLevelText(text)) {
        if (text == "none") throw ScriptError(FailureMessage(kNoDevice));
        return std::make_unique<EnvironmentVolume>();
    }
#endif
    return std::make_unique<CoreAudioVolume>();
}

} // namespace qor
