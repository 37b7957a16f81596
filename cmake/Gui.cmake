# The dialog, in its own files; the driver never includes it.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets)
include(GNUInstallDirs)

add_library(rc_dialog STATIC
  src/dialog/QtRulecastDlg.cpp
  src/dialog/QtRulecastDlg.h
  src/dialog/QtDialogPrompts.cpp)
set_target_properties(rc_dialog PROPERTIES AUTOMOC ON)
target_link_libraries(rc_dialog PUBLIC rc_dialog_logic Qt6::Widgets)
# The window icon: a PNG, since Qt reads that without its SVG plug-in.
qt_add_resources(rc_dialog rulecast_icons
  PREFIX /icons
  BASE resources
  FILES resources/rulecast.png)

target_sources(rulecast PRIVATE src/dialog/QtDialogLauncher.cpp)
target_link_libraries(rulecast PRIVATE rc_dialog)

install(FILES resources/rulecast.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/rulecast.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES resources/rulecast.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
