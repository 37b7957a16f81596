# Read by cpack before each package: for the .deb, Depends from dpkg-shlibdeps on the program, and
# Recommends on the dialog's module, so that Qt is recommended but not required.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(work "${CPACK_PACKAGE_DIRECTORY}/_CPack_Packages/shlibdeps")
  # dpkg-shlibdeps insists on a control file, but reads nothing from it here.
  file(MAKE_DIRECTORY "${work}/debian")
  file(TOUCH "${work}/debian/control")
  set(arguments -O "-e${CPACK_RULECAST_PROGRAM}")
  if(CPACK_RULECAST_DIALOG_MODULE)
    list(APPEND arguments -dRecommends "-e${CPACK_RULECAST_DIALOG_MODULE}")
  endif()
  # The module's calls into the program are left unresolved on purpose; its warnings about them go.
  execute_process(COMMAND dpkg-shlibdeps ${arguments} WORKING_DIRECTORY "${work}"
    OUTPUT_VARIABLE substvars ERROR_VARIABLE warnings RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "dpkg-shlibdeps failed: ${warnings}")
  endif()
  if(substvars MATCHES "shlibs:Depends=([^\n]*)")
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}")
  endif()
  if(substvars MATCHES "shlibs:Recommends=([^\n]*)")
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "${CMAKE_MATCH_1}")
  endif()
endif()
