"""The end-to-end harness: a display and a Wine prefix per scenario, the real programs in it, one
driver process that takes the scenario's commands, the virtual camera's log, and the facts the
checks compare with (settings files, layout, bitmaps)."""
