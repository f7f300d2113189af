// The sample grabber's interface. Its header (qedit.h) left the Windows SDK long ago and only
// MinGW-w64 still ships it, so the interface is declared here, under a name of our own, for both
// compilers; the vtable order is the component's and must not change.
#pragma once

#include "platform/win32/dshow_headers_win32.h"

namespace platform::win32 {

struct GrabberInterface : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetOneShot(BOOL oneShot) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMediaType(const AM_MEDIA_TYPE* type) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetConnectedMediaType(AM_MEDIA_TYPE* type) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBufferSamples(BOOL buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentBuffer(long* size, long* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentSample(IMediaSample** sample) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCallback(IUnknown* callback, long whichMethod) = 0;
};

} // namespace platform::win32
