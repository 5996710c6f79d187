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
    // False for a walk below an entry of another walk: it shows which entry it looks at, but the range and the
    // steps of the progress are the outer walk's.
    virtual bool OwnsProgress() const { return true; }
};

// The context of walks made on nobody's behalf (export, deletion): never stopped, no progress shown.
class SilentWalkContext final : public WalkContext {
public:
    bool IsStopRequested() const override { return false; }
    ProgressSink* Progress() const override { return nullptr; }
};

// The context of a walk below one entry of another walk: the outer walk's own, whose progress follows the outer
// walk.
class InnerWalkContext final : public WalkContext {
public:
    explicit InnerWalkContext(WalkContext& outer) : outer_(outer) {}
    bool IsStopRequested() const override { return outer_.IsStopRequested(); }
    ProgressSink* Progress() const override { return outer_.Progress(); }
    bool OwnsProgress() const override { return false; }
    void NoteOutsideCodePage() override { outer_.NoteOutsideCodePage(); }
    void NoteEntry() override { outer_.NoteEntry(); }
    bool PassesOver(const RegistryValue& value) override { return outer_.PassesOver(value); }

private:
    WalkContext& outer_;
};
