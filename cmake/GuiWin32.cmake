# The dialog as a native Windows window, made from the resource script; the driver never includes it.
enable_language(RC)

add_library(rc_dialog STATIC
  src/dialog/Win32DialogLauncher.cpp
  src/dialog/Win32DialogPrompts.cpp
  src/dialog/Win32RulecastDlg.cpp)
target_compile_definitions(rc_dialog PRIVATE UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(rc_dialog PUBLIC rc_dialog_logic comctl32 comdlg32 ole32 shell32)

# The dialog template, the icon and the manifest; windres finds the latter two beside the script.
set(resource_script resources/rulecast.rc)
set_property(SOURCE ${resource_script} APPEND PROPERTY INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/resources)
set_property(SOURCE ${resource_script} APPEND PROPERTY OBJECT_DEPENDS
  ${PROJECT_SOURCE_DIR}/resources/rulecast.ico
  ${PROJECT_SOURCE_DIR}/resources/rulecast.manifest
  ${PROJECT_SOURCE_DIR}/src/dialog/Win32Resources.h)

target_sources(rulecast PRIVATE ${resource_script})
target_link_libraries(rulecast PRIVATE rc_dialog)
