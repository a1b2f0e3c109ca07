# The organizer program: its forms from main.dfm and autoakt.dfm, its version
# resource.
set(brennik_rc ${CMAKE_CURRENT_BINARY_DIR}/brennik.res.o)
add_custom_command(OUTPUT ${brennik_rc}
    COMMAND ${CMAKE_RC_COMPILER} -c 65001 -O coff -i ${CMAKE_CURRENT_SOURCE_DIR}/brennik.rc -o ${brennik_rc}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/brennik.rc
    VERBATIM)
add_library(brennik_units STATIC apperase.cpp autoakt.cpp autoaktUtil.cpp FileUtil.cpp InstallReport.cpp main.cpp)
target_link_libraries(brennik_units PUBLIC organizer_units grid_adv components common classlib)
add_executable(brennik WIN32 brennik.cpp ${brennik_rc})
qmx_add_forms(brennik main.dfm autoakt.dfm)
target_link_libraries(brennik PRIVATE brennik_units)
