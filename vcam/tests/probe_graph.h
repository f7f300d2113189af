// The graph the stream checks share: camera -> sample grabber of one subtype -> null renderer,
// and the grabber's frame read back once frames flow.
#pragma once

#include "probe_support.h"

#include <qedit.h>

#include <vector>

namespace probe {

struct Graph {
    ComPtr<IGraphBuilder> graph;
    ComPtr<ICaptureGraphBuilder2> builder;
    ComPtr<IBaseFilter> grabberFilter, sink;
    ComPtr<ISampleGrabber> grabber;
};

// The graph with the grabber (asking for video of that subtype) and the null renderer added.
bool MakeGraph(Graph& g, const GUID& subtype);
// The frame the grabber holds a little after the first one arrived (empty when none came).
std::vector<unsigned char> GrabLater(ISampleGrabber* grabber, DWORD waitMs);
// Frees a media type from task memory, record included.
void FreeType(AM_MEDIA_TYPE* type);

} // namespace probe
