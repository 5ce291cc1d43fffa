#pragma once
// The seam between the volume slider and the system's master output volume:
// read a level between 0 and 1, set one, nothing else. The Windows build
// reaches the default playback device through Core Audio; the test build can
// select a stand-in (see OpenMasterVolume).
#include <memory>
#include <string>

namespace qor {

class MasterVolume {
public:
    virtual ~MasterVolume() = default;
    // The master level, 0.0 to 1.0. Throws ScriptError with the failure's message.
    virtual float Level() = 0;
    // Passes the level on as it is (a level above 1 included). Throws likewise.
    virtual void SetLevel(float level) = 0;
};

// The default playback device's master volume; throws ScriptError with the
// failure's message when there is no such device or no volume interface.
// It stays with the default device: when the system names another default
// playback device, or a call fails because its device went away (a headset
// unplugged), the default device's volume is opened again and the call is
// tried once more.
//
// In the test build, when the process environment holds
// QOR_TEST_MASTER_LEVEL, a stand-in keeps the level in that variable instead
// (as decimal text; "none" makes opening fail as a machine without a playback
// device does), so tests can change the level "elsewhere" and read what the
// slider set. With QOR_TEST_MASTER_DEVICES set as well, the stand-in has
// devices: that variable lists the names of the devices present, the default
// one first ("none": no device), and device N keeps its level in
// QOR_TEST_MASTER_LEVEL_N; a device no longer listed fails every call as a
// device that went away does.
std::unique_ptr<MasterVolume> OpenMasterVolume();

// The system's text for a failure code, or "OLE error XXXXXXXX".
std::string FailureMessage(long code);

} // namespace qor
