#include "enumerators.h"

#include "media_types.h"
#include "module_counts.h"

#include <memory>
#include <new>

namespace vcam {
namespace {

// The IUnknown part both enumerators share.
template <typename Interface> class Enumerator : public Interface, private CountedObject {
  public:
    explicit Enumerator(IUnknown* owner) : owner_(owner) { owner_->AddRef(); }
    virtual ~Enumerator() { owner_->Release(); }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == __uuidof(Interface)) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

  protected:
    IUnknown* owner_;
    ULONG position_ = 0;

  private:
    LONG references_ = 1;
};

class PinEnumerator final : public Enumerator<IEnumPins> {
  public:
    PinEnumerator(IBaseFilter* owner, IPin* pin) : Enumerator(owner), pin_(pin) {}

    STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override {
        if (!pins || (count > 1 && !fetched))
            return E_POINTER;
        ULONG got = 0;
        if (count > 0 && position_ == 0) {
            pins[0] = pin_;
            pin_->AddRef();
            position_ = 1;
            got = 1;
        }
        if (fetched)
            *fetched = got;
        return got == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        const ULONG left = 1 - position_;
        position_ = count >= left ? 1 : position_ + count;
        return count <= left ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumPins** out) override {
        return CreatePinEnumerator(static_cast<IBaseFilter*>(owner_), pin_, position_, out);
    }

  private:
    IPin* pin_;
};

class MediaTypeEnumerator final : public Enumerator<IEnumMediaTypes> {
  public:
    explicit MediaTypeEnumerator(IUnknown* owner) : Enumerator(owner) {}

    HRESULT Add(const AM_MEDIA_TYPE& type) {
        types_.push_back(std::make_unique<OwnedMediaType>());
        return types_.back()->CopyFrom(type);
    }

    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override {
        if (!types || (count > 1 && !fetched))
            return E_POINTER;
        ULONG got = 0;
        while (got < count && position_ < types_.size()) {
            types[got] = NewMediaTypeCopy(types_[position_]->type);
            if (!types[got])
                break;
            ++got;
            ++position_;
        }
        if (fetched)
            *fetched = got;
        return got == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        const ULONG left = static_cast<ULONG>(types_.size()) - position_;
        position_ += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumMediaTypes** out) override {
        std::vector<const AM_MEDIA_TYPE*> types;
        for (const auto& owned : types_)
            types.push_back(&owned->type);
        return CreateMediaTypeEnumerator(owner_, types, position_, out);
    }

  private:
    std::vector<std::unique_ptr<OwnedMediaType>> types_;
};

} // namespace

HRESULT CreatePinEnumerator(IBaseFilter* owner, IPin* pin, ULONG position, IEnumPins** out) {
    if (!out)
        return E_POINTER;
    auto* enumerator = new (std::nothrow) PinEnumerator(owner, pin);
    if (!enumerator)
        return E_OUTOFMEMORY;
    enumerator->Skip(position);
    *out = enumerator;
    return S_OK;
}

HRESULT CreateMediaTypeEnumerator(IUnknown* owner, const std::vector<const AM_MEDIA_TYPE*>& types,
                                  ULONG position, IEnumMediaTypes** out) {
    if (!out)
        return E_POINTER;
    auto* enumerator = new (std::nothrow) MediaTypeEnumerator(owner);
    if (!enumerator)
        return E_OUTOFMEMORY;
    for (const AM_MEDIA_TYPE* type : types)
        if (FAILED(enumerator->Add(*type))) {
            enumerator->Release();
            return E_OUTOFMEMORY;
        }
    enumerator->Skip(position);
    *out = enumerator;
    return S_OK;
}

} // namespace vcam
