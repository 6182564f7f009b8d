// Holds one reference to a COM object and releases it when it goes out of scope.
#pragma once

#include <unknwn.h>

template <typename T>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef()
    {
        if (object_)
            object_->Release();
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // The slot a creating call fills; whatever was held is released first.
    T** put()
    {
        if (object_)
            object_->Release();
        object_ = nullptr;
        return &object_;
    }

private:
    T* object_ = nullptr;
};
