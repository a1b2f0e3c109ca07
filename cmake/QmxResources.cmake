include_guard(GLOBAL)
# qmx_drawn_resources(TARGET NAME COMMENT text [DEPENDS file...])
# Runs NAME.py of the current source folder, which draws pictures and writes
# NAME.rc beside them into a build folder, and compiles that into one
# resource object. Nothing refers to a resource by symbol, so an archive
# member would be dropped by the linker: the object is an interface source of
# TARGET and lands in the own link of every program that links TARGET.
function(qmx_drawn_resources target name)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "COMMENT" "DEPENDS")
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/${name})
    set(object ${dir}/${name}.res.o)
    add_custom_command(OUTPUT ${object}
        COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/${name}.py ${dir}
        COMMAND ${CMAKE_RC_COMPILER} -O coff -I ${dir} -i ${dir}/${name}.rc -o ${object}
        DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}.py ${arg_DEPENDS}
        COMMENT "${arg_COMMENT}"
        VERBATIM)
    add_custom_target(${name}_res DEPENDS ${object})
    add_dependencies(${target} ${name}_res)
    target_sources(${target} INTERFACE ${object})
endfunction()
