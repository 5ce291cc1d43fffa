# Sources without any Windows dependency, relative to src/. They are compiled into
# qor_pure, which the plug-in links and the native unit tests exercise on Linux.
set(QOR_PURE_SOURCES
  host/ActionCatalogue.cpp
  core/AnsiText.cpp
  core/ValueEncodings.cpp
  core/TextLines.cpp
  hotkeys/ShortCutText.cpp
  lists/ListText.cpp
  lists/ListItemStore.cpp
  lists/ListValues.cpp
  smartedit/MemoLogic.cpp
  checklist/CheckListRules.cpp
  filedrop/DroppedItems.cpp
  dialogs/DialogValues.cpp
)
