// COM on the calling thread for as long as the object lives.
#pragma once

#include <objbase.h>

// Only a successful CoInitialize is balanced: on a thread that already runs another apartment model the call
// fails, and an unbalanced CoUninitialize would tear down the caller's COM.
class ComApartment {
public:
    ComApartment() noexcept : initialized_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComApartment()
    {
        if (initialized_) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialized_;
};
