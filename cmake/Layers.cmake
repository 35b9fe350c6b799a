# The layers of the program and what each folder may include (besides itself).
# Read by cmake/LayerCheck.cmake, which ctest runs as layer_check; the same
# rules in prose are in docs/ARCHITECTURE.md. Keep the two together.
#
# Lower layers first. A folder may include only the folders named after it.
set(ORVANE_LAYER_RULES
  "base:"
  "system:base"
  "skinfile:"
  "paint:skinfile base"
  "toolkit:paint skinfile base"
  "widgets:toolkit paint skinfile base"
  "i18n:widgets toolkit paint skinfile base"
  "tray:i18n widgets toolkit paint skinfile system base"
  "files:i18n widgets toolkit paint skinfile system base"
  "desktop:i18n widgets toolkit paint skinfile system base"
  "settings:desktop i18n widgets toolkit paint skinfile system base"
  "startpanel:settings files desktop i18n widgets toolkit paint skinfile system base"
  "taskbar:startpanel settings files desktop tray i18n widgets toolkit paint skinfile system base winwatch"
  "app:taskbar startpanel settings files desktop tray i18n widgets toolkit paint skinfile system base winwatch"
  "winwatch:")

# Folders whose code must build without the Windows headers (the skin
# compiler builds them for the build machine).
set(ORVANE_PORTABLE_LAYERS skinfile)
