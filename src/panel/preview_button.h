// The Preview button's caption, which follows the preview's state.
#pragma once

// "Preview" while stopped, "Stop" while running; a paused graph leaves the caption as it is.
void UpdatePreviewButton();
