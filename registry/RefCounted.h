// Intrusive reference counting for registry objects, issues and their targets,
// and Ref<T>, the holder that takes and drops those references.
#pragma once

#include <atomic>
#include <utility>

class RefCounted {
public:
    // A new object has no holder yet; its first holder takes the first reference.
    virtual void AddRef() noexcept { ++count_; }
    virtual void Release() noexcept
    {
        if (--count_ <= 0) {
            delete this;
        }
    }
    virtual ~RefCounted() { --liveObjects_; }

    int RefCount() const noexcept { return count_; }

    // How many counted objects exist right now; lets tests prove there is no leak.
    static long LiveObjects() noexcept { return liveObjects_; }

    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

protected:
    RefCounted() noexcept { ++liveObjects_; }

private:
    // Each object is used by one thread at a time, so its own count is plain.
    int count_ = 0;
    static inline std::atomic<long> liveObjects_{0};
};

// A counted reference: AddRef on taking, Release on dropping.
template <typename T>
class Ref {
public:
    Ref() noexcept = default;
    Ref(T* object) noexcept : object_(object)
    {
        if (object_) {
            object_->AddRef();
        }
    }
    Ref(const Ref& other) noexcept : Ref(other.object_) {}
    Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    template <typename U>
    Ref(const Ref<U>& other) noexcept : Ref(other.get())
    {
    }
    Ref& operator=(Ref other) noexcept
    {
        std::swap(object_, other.object_);
        return *this;
    }
    ~Ref()
    {
        if (object_) {
            object_->Release();
        }
    }

    T* get() const noexcept { return object_; }
    T* operator->() const noexcept { return object_; }
    T& operator*() const noexcept { return *object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};
