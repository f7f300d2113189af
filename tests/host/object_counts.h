// What the simulated platform has outstanding against what the tool's fields account for: every
// filter reference, graph interface, camera interface, device object, task block and media type
// is either held in a field of the tool (or by a graph the tool holds) or is a leak.
#pragma once

#include "camera/capture_filters.h"
#include "camera/preview_graph.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_graph.h"

#include <sstream>
#include <string>
#include <tuple>

struct ObjectCounts {
    int filterReferences = 0;
    int filtersAlive = 0;
    int graphInterfaces = 0;
    int graphs = 0;
    int cameraInterfaces = 0;
    int deviceObjects = 0;
    int taskBlocks = 0;
    int mediaTypes = 0;

    auto Fields() const {
        return std::tie(filterReferences, filtersAlive, graphInterfaces, graphs, cameraInterfaces,
                        deviceObjects, taskBlocks, mediaTypes);
    }
    bool operator==(const ObjectCounts& o) const { return Fields() == o.Fields(); }
};

inline std::ostream& operator<<(std::ostream& out, const ObjectCounts& c) {
    return out << "{filter refs " << c.filterReferences << ", filters " << c.filtersAlive
               << ", graph interfaces " << c.graphInterfaces << ", graphs " << c.graphs
               << ", camera interfaces " << c.cameraInterfaces << ", device objects "
               << c.deviceObjects << ", task blocks " << c.taskBlocks << ", media types "
               << c.mediaTypes << "}";
}

// What the simulated platform reports as outstanding.
inline ObjectCounts Outstanding() {
    ObjectCounts c;
    c.filterReferences = sim::FilterReferences();
    c.filtersAlive = sim::FiltersAlive();
    c.graphInterfaces = sim::Graph().objectsAlive;
    c.graphs = sim::Graph().graphsAlive;
    c.cameraInterfaces = sim::InterfacesAlive();
    c.deviceObjects = sim::DeviceObjectsAlive();
    c.taskBlocks = sim::Graph().taskBlocksAlive;
    c.mediaTypes = sim::Graph().mediaTypesAlive;
    return c;
}

// What the tool's fields hold between two handlers: a reference per non-empty capture filter
// entry and per graph field, and the graph's own reference on each filter added to it. Nothing
// that lives only for one call (camera interfaces, device lists, task memory, media types).
inline ObjectCounts HeldByTheTool() {
    ObjectCounts c;
    for (platform::Filter f : CaptureFilters)
        c.filterReferences += f ? 1 : 0;
    c.filterReferences += PreviewGraph.GrabberFilter ? 1 : 0;
    c.filterReferences += PreviewGraph.Renderer ? 1 : 0;
    c.filterReferences += PreviewGraph.Camera ? 1 : 0;
    for (const auto& graph : sim::Graph().graphs)
        c.filterReferences += static_cast<int>(graph.second.filters.size());
    c.graphInterfaces = (PreviewGraph.Graph ? 1 : 0) + (PreviewGraph.Builder ? 1 : 0) +
                        (PreviewGraph.Control ? 1 : 0) + (PreviewGraph.VideoWindow ? 1 : 0) +
                        (PreviewGraph.CaptureBuilder ? 1 : 0) + (PreviewGraph.Grabber ? 1 : 0);
    c.graphs = PreviewGraph.Graph || PreviewGraph.Builder || PreviewGraph.Control ||
                       PreviewGraph.VideoWindow
                   ? 1
                   : 0;
    c.filtersAlive = sim::FiltersAlive(); // checked through the references
    return c;
}

// Nothing at all outstanding: what is left after the tool's exit path.
inline ObjectCounts NothingOutstanding() {
    return ObjectCounts{};
}
