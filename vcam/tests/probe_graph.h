// The graph the stream checks share: camera -> sample grabber of one subtype -> null renderer,
// and the grabber's frame read back once frames flow.
#pragma once

#include "probe_support.h"

#include <qedit.h>

#include <vector>

namespace probe {

// Stops the graph and takes the camera out of it when it goes, as an application does before it
// lets the camera go.
struct Graph {
    ComPtr<IGraphBuilder> graph;
    ComPtr<ICaptureGraphBuilder2> builder;
    ComPtr<IBaseFilter> grabberFilter, sink, camera;
    ComPtr<ISampleGrabber> grabber;
    ComPtr<IMediaControl> control;
    ~Graph();
};

// The graph with the grabber (asking for video of that subtype), the null renderer and the
// camera added; RenderStream's result, or the failure that came before it.
HRESULT BuildGraph(Graph& g, IBaseFilter* camera, const GUID& subtype);
// The frame the grabber holds a little after the first one arrived (empty when none came).
std::vector<unsigned char> GrabLater(ISampleGrabber* grabber, DWORD waitMs);
// The capture pin of a bound camera, or null.
ComPtr<IPin> CapturePin(IBaseFilter* camera);
// Frees a media type from task memory, record included.
void FreeType(AM_MEDIA_TYPE* type);

} // namespace probe
