# The release archive: unpacked into the simulator's folder, it puts every file
# where the module looks for it.
#   Modules/Varolen2004.dll     the module, loaded by the simulator at start-up
#   Varolen2004.cfg             the key bindings, next to the simulator
#   Varolen/Sound/*.wav         the six effect sounds
#   Varolen/Docs/Guide.html     the user's guide
include(ExternalProject)

# The sounds are made by a program that runs here, not on Windows.
set(host_sounds ${CMAKE_BINARY_DIR}/host-tools/sounds)
ExternalProject_Add(host_sounds
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools/sounds
  BINARY_DIR ${host_sounds}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${host_sounds}/sounds/Walk.wav)

set(guide_html ${CMAKE_BINARY_DIR}/docs/Guide.html)
file(GLOB guide_pictures CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/images/*-dialog.png
     ${PROJECT_SOURCE_DIR}/docs/images/view-*.png)
add_custom_command(OUTPUT ${guide_html}
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/docs
                   COMMAND ${VAROLEN_PYTHON} ${PROJECT_SOURCE_DIR}/tools/guide/make_guide.py
                           ${PROJECT_SOURCE_DIR}/docs/guide.md ${guide_html} ${PROJECT_VERSION}
                   DEPENDS ${PROJECT_SOURCE_DIR}/tools/guide/make_guide.py ${PROJECT_SOURCE_DIR}/docs/guide.md
                           ${guide_pictures}
                   COMMENT "Making the user's guide")
add_custom_target(guide ALL DEPENDS ${guide_html})

install(FILES $<TARGET_FILE:Varolen2004> DESTINATION Modules)
# Windows line ends, so that the bindings read well in Notepad.
configure_file(${PROJECT_SOURCE_DIR}/data/Varolen2004.cfg ${CMAKE_BINARY_DIR}/package-files/Varolen2004.cfg
               @ONLY NEWLINE_STYLE WIN32)
install(FILES ${CMAKE_BINARY_DIR}/package-files/Varolen2004.cfg DESTINATION .)
install(DIRECTORY ${host_sounds}/sounds/ DESTINATION Varolen/Sound FILES_MATCHING PATTERN "*.wav")
install(FILES ${guide_html} DESTINATION Varolen/Docs)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Varolen2004)
set(CPACK_PACKAGE_VENDOR "The Varolen 2004 developers")
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(CPACK_SYSTEM_NAME win32)
else()
  set(CPACK_SYSTEM_NAME win64)
endif()
# No folder of its own: the archive unpacks straight into the simulator's folder.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
