# Sources without any Windows dependency, relative to src/. They are compiled into
# qor_pure, which the plug-in links and the native unit tests exercise on Linux.
set(QOR_PURE_SOURCES
  host/ActionCatalogue.cpp
  core/AnsiText.cpp
  core/ValueEncodings.cpp
  core/EditDialog.cpp
  core/SharedDialogs.cpp
  host/EditRoutes.cpp
  hotkeys/HotKeyDialogs.cpp
  hotkeys/ShortCutCapture.cpp
  lists/ListDialogs.cpp
  smartedit/SmartEditDialogs.cpp
  hotkeys/ShortCutText.cpp
  hotkeys/HotKeyList.cpp
  hotkeys/ClipboardStream.cpp
  hotkeys/KeyCommands.cpp
  lists/ListText.cpp
  lists/ListItemStore.cpp
  lists/ListValues.cpp
  smartedit/MemoLogic.cpp
  lists/PlainItemSearch.cpp
  smartedit/SpellText.cpp
  smartedit/SpellVerdicts.cpp
  checklist/CheckListRules.cpp
  trackbar/SliderModel.cpp
)
