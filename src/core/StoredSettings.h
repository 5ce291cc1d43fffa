#pragma once
// The shape every set-properties action follows, with the settings of the kind
// gathered in one plain struct.
//
// The action reads its parameters one by one into Stored(): a value that
// converts is kept even when a later one fails, and the next successful call
// applies it. Only a call whose every value converted commits: the stored
// settings become the applied ones and the control applies them. The control
// acts on Applied() alone (painting, typing aids, layout), so a failing call
// changes nothing visible and nothing in how the control behaves until the
// next successful call.
//
//     const Settings& now = settings_.ReadThenCommit([&](Settings& stored) {
//         if (!params.at(1).empty()) stored.Flag = TextToFlag(params[1]); // may throw
//         ...
//     });
//     ... apply `now` to the windows ...
namespace qor {

template <typename Settings>
class StoredSettings {
public:
    const Settings& Stored() const { return stored_; }
    const Settings& Applied() const { return applied_; }

    // Runs read on the stored settings; read throws at the first value that
    // does not convert, and then nothing is committed. Returns the applied settings.
    template <typename Read>
    const Settings& ReadThenCommit(Read&& read) {
        read(stored_);
        applied_ = stored_;
        return applied_;
    }

    // Settings made at creation: stored and applied at once.
    void Reset(const Settings& settings) { stored_ = applied_ = settings; }

private:
    Settings stored_{};
    Settings applied_{};
};

} // namespace qor
