// What a registry walk asks of the work it is done for: whether to stop before the next entry, where to show its
// progress, and whom to tell of the entries it passed over. Scanners are such contexts; so is the silent one below.
#pragma once

class ProgressSink;
class RegistryValue;

class WalkContext {
public:
    virtual ~WalkContext() = default;
    virtual bool IsStopRequested() const = 0;
    // Null when nobody watches the walk.
    virtual ProgressSink* Progress() const = 0;
    // The walk passed over an entry whose name or text does not fit the code page.
    virtual void NoteOutsideCodePage() {}
    // The walk hands an entry to its visitor.
    virtual void NoteEntry() {}
    // True when the value read for the entry is one the work must not act on; the walk then passes it over.
    virtual bool PassesOver(const RegistryValue&) { return false; }
};

// The context of walks made on nobody's behalf (export, deletion): never stopped, no progress shown.
class SilentWalkContext final : public WalkContext {
public:
    bool IsStopRequested() const override { return false; }
    ProgressSink* Progress() const override { return nullptr; }
};
