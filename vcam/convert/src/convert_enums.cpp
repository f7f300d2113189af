#include "convert_enums.h"

#include "convert_media.h"

#include <new>
#include <vector>

namespace convert {
namespace {

// A snapshot of up to two items; Clone copies the position.
template <typename Interface, typename Item> class Enumerator : public Interface, CountedObject {
  public:
    Enumerator(IUnknown* owner, std::vector<Item> items, ULONG position)
        : owner_(owner), items_(std::move(items)), position_(position) {
        owner_->AddRef();
    }
    virtual ~Enumerator() {
        for (Item item : items_)
            Drop(item);
        owner_->Release();
    }

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

    STDMETHODIMP Next(ULONG count, Item* out, ULONG* fetched) override {
        if (!out || (count > 1 && !fetched))
            return E_POINTER;
        ULONG n = 0;
        while (n < count && position_ < items_.size()) {
            out[n] = Hand(items_[position_]);
            if (!out[n])
                break;
            ++n;
            ++position_;
        }
        if (fetched)
            *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        position_ += count;
        if (position_ > items_.size()) {
            position_ = static_cast<ULONG>(items_.size());
            return S_FALSE;
        }
        return S_OK;
    }
    STDMETHODIMP Reset() override {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(Interface** out) override {
        if (!out)
            return E_POINTER;
        std::vector<Item> copies;
        for (Item item : items_)
            copies.push_back(Hand(item));
        *out = new (std::nothrow) Enumerator(owner_, std::move(copies), position_);
        return *out ? S_OK : E_OUTOFMEMORY;
    }

  private:
    static IPin* Hand(IPin* pin) {
        pin->AddRef();
        return pin;
    }
    static AM_MEDIA_TYPE* Hand(AM_MEDIA_TYPE* type) { return NewMediaTypeCopy(*type); }
    static void Drop(IPin* pin) { pin->Release(); }
    static void Drop(AM_MEDIA_TYPE* type) {
        FreeMediaType(type);
        CoTaskMemFree(type);
    }

    IUnknown* owner_;
    std::vector<Item> items_; // owned: pins held, types in task memory
    ULONG position_;
    LONG references_ = 1;
};

} // namespace

HRESULT CreatePinEnumerator(IBaseFilter* owner, IPin* input, IPin* output, ULONG position,
                            IEnumPins** out) {
    if (!out)
        return E_POINTER;
    input->AddRef();
    output->AddRef();
    *out = new (std::nothrow)
        Enumerator<IEnumPins, IPin*>(owner, std::vector<IPin*>{input, output}, position);
    if (*out)
        return S_OK;
    input->Release();
    output->Release();
    return E_OUTOFMEMORY;
}

HRESULT CreateTypeEnumerator(IUnknown* owner, const AM_MEDIA_TYPE* type, ULONG position,
                             IEnumMediaTypes** out) {
    if (!out)
        return E_POINTER;
    std::vector<AM_MEDIA_TYPE*> types;
    if (type) {
        AM_MEDIA_TYPE* copy = NewMediaTypeCopy(*type);
        if (!copy)
            return E_OUTOFMEMORY;
        types.push_back(copy);
    }
    *out = new (std::nothrow) Enumerator<IEnumMediaTypes, AM_MEDIA_TYPE*>(owner, types, position);
    if (*out)
        return S_OK;
    for (AM_MEDIA_TYPE* copy : types) {
        FreeMediaType(copy);
        CoTaskMemFree(copy);
    }
    return E_OUTOFMEMORY;
}

} // namespace convert
