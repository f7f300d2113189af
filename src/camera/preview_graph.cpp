// The graph is not built yet: with no graph every operation does nothing, the state is stopped.
#include "camera/preview_graph.h"

void TogglePreview(int) {}
int ClosePreview() {
    return ReleasePreviewGraph();
}
int ReleasePreviewGraph() {
    return 0;
}
int RunPreview() {
    return 0;
}
int StopPreview() {
    return 0;
}
int PreviewState() {
    return 0;
}
void PlacePreview(bool) {}
