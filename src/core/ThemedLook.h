#pragma once
// The plug-in's own windows use version 6 of the common controls (the themed
// look) even in a host without a manifest: the manifest in the DLL's resources
// becomes an activation context that is active only while the plug-in creates
// its windows or runs its own dialogs. The process's default context, and so
// every window the host makes itself, is never touched.
#include <windows.h>

namespace qor {

// Activates the plug-in's context for its lifetime (on the creating thread).
// Windows of the common and standard control classes created inside keep
// their version 6 class for good; nothing needs the scope afterwards.
// Scopes nest. Without the context (it could not be made) the scope does
// nothing and the controls keep the system's default look.
class ThemedLookScope {
public:
    ThemedLookScope() noexcept;
    ~ThemedLookScope();
    ThemedLookScope(const ThemedLookScope&) = delete;
    ThemedLookScope& operator=(const ThemedLookScope&) = delete;

private:
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};

// At unload: the context is released (no scope is open then).
void ReleaseThemedLook() noexcept;

} // namespace qor
