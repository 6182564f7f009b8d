#include "images/encode_stream_win.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

class EncodeStream final : public IStream {
public:
    explicit EncodeStream(std::size_t limit) : limit_(limit) {}
    ~EncodeStream() { std::free(bytes_); }

    const std::uint8_t* bytes(std::size_t* size) const
    {
        *size = size_;
        return bytes_;
    }

    STDMETHODIMP QueryInterface(REFIID id, void** object) override
    {
        if (id != IID_IUnknown && id != IID_IStream && id != IID_ISequentialStream) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override
    {
        ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    STDMETHODIMP Read(void* destination, ULONG length, ULONG* done) override
    {
        std::size_t count = position_ < size_ ? std::min<std::size_t>(length, size_ - position_) : 0;
        if (count)
            std::memcpy(destination, bytes_ + position_, count);
        position_ += count;
        if (done)
            *done = static_cast<ULONG>(count);
        return count == length ? S_OK : S_FALSE;
    }
    STDMETHODIMP Write(const void* source, ULONG length, ULONG* done) override
    {
        if (done)
            *done = 0;
        if (length > limit_ || position_ > limit_ - length || !reserve(position_ + length))
            return STG_E_MEDIUMFULL;
        std::memcpy(bytes_ + position_, source, length);
        position_ += length;
        size_ = std::max(size_, position_);
        if (done)
            *done = length;
        return S_OK;
    }
    STDMETHODIMP Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* result) override
    {
        std::int64_t base = origin == STREAM_SEEK_SET ? 0
                            : origin == STREAM_SEEK_CUR ? static_cast<std::int64_t>(position_)
                                                        : static_cast<std::int64_t>(size_);
        std::int64_t target = base + move.QuadPart;
        if (origin > STREAM_SEEK_END || target < 0 || static_cast<std::uint64_t>(target) > limit_)
            return STG_E_INVALIDFUNCTION;
        position_ = static_cast<std::size_t>(target);
        if (result)
            result->QuadPart = position_;
        return S_OK;
    }
    STDMETHODIMP SetSize(ULARGE_INTEGER size) override
    {
        if (size.QuadPart > limit_ || !reserve(static_cast<std::size_t>(size.QuadPart)))
            return STG_E_MEDIUMFULL;
        size_ = static_cast<std::size_t>(size.QuadPart);
        return S_OK;
    }
    STDMETHODIMP CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP Commit(DWORD) override { return S_OK; }
    STDMETHODIMP Revert() override { return E_NOTIMPL; }
    STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    STDMETHODIMP Stat(STATSTG* stat, DWORD) override
    {
        *stat = {};
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = size_;
        return S_OK;
    }
    STDMETHODIMP Clone(IStream**) override { return E_NOTIMPL; }

private:
    // Room for `needed` bytes, the new ones zeroed (a seek may leave a gap); doubles as it grows.
    bool reserve(std::size_t needed)
    {
        if (needed <= capacity_)
            return true;
        std::size_t capacity = std::min(std::max(needed, capacity_ * 2), limit_);
        auto* grown = static_cast<std::uint8_t*>(std::realloc(bytes_, capacity));
        if (!grown)
            return false;
        std::memset(grown + capacity_, 0, capacity - capacity_);
        bytes_ = grown;
        capacity_ = capacity;
        return true;
    }

    ULONG references_ = 1;
    std::size_t limit_;
    std::uint8_t* bytes_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
    std::size_t position_ = 0;
};

}  // namespace

IStream* encode_stream_new(std::size_t limit)
{
    return new (std::nothrow) EncodeStream(limit);
}

const std::uint8_t* encode_stream_bytes(IStream* stream, std::size_t* size)
{
    return static_cast<EncodeStream*>(stream)->bytes(size);
}
