# The dialog's Qt face, in a module of its own that start-up loads only when the dialog opens: the
# batch and --version load neither Qt nor X, and a server that only converts needs no Qt at all.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets)
include(GNUInstallDirs)

add_library(rc_dialog_qt OBJECT
  src/dialog/QtRulecastDlg.cpp
  src/dialog/QtRulecastDlg.h
  src/dialog/QtDialogPrompts.cpp)
set_target_properties(rc_dialog_qt PROPERTIES AUTOMOC ON POSITION_INDEPENDENT_CODE ON)
target_include_directories(rc_dialog_qt PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(rc_dialog_qt PUBLIC Qt6::Widgets)

# The window icon: a PNG, since Qt reads that without its SVG plug-in.
function(rulecast_add_icon target)
  qt_add_resources(${target} rulecast_icons_${target}
    PREFIX /icons
    BASE resources
    FILES resources/rulecast.png)
endfunction()

# The module holds the face alone; the dialog's logic and the driver it takes from the program.
add_library(rulecast-qt MODULE src/dialog/QtDialogLauncher.cpp)
target_link_libraries(rulecast-qt PRIVATE rc_dialog_qt)
rulecast_add_icon(rulecast-qt)

# The dialog's tests link the face and its logic together.
add_library(rc_dialog STATIC $<TARGET_OBJECTS:rc_dialog_qt>)
target_link_libraries(rc_dialog PUBLIC rc_dialog_logic Qt6::Widgets)
rulecast_add_icon(rc_dialog)

target_sources(rulecast PRIVATE src/dialog/QtDialogLoader.cpp)
# Whole and exported, so that the module finds every part of the logic it calls.
target_link_libraries(rulecast PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,rc_dialog_logic>")
# The build's program finds the module in the build tree; the installed one, in its own folder.
set_target_properties(rulecast PROPERTIES ENABLE_EXPORTS ON BUILD_RPATH "$<TARGET_FILE_DIR:rulecast-qt>")
add_dependencies(rulecast rulecast-qt)

# The folder that QtDialogModule.h names, relative to the program's.
install(TARGETS rulecast-qt LIBRARY DESTINATION lib/rulecast)
install(FILES resources/rulecast.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/rulecast.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES resources/rulecast.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
install(FILES resources/rulecast-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME rulecast.xml)
