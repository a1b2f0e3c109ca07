include_guard(GLOBAL)
# qmx_add_forms(TARGET FORM...)
# Compiles form descriptions into TARGET as RCDATA resources, each named after
# its form class in upper case ("object eMain: TeMain" gives TEMAIN), where
# ReadFormResource finds them. The files are UTF-8 in the tree; the resources
# hold them in code page 1250, the programs' text. Call it in the folder that
# defines TARGET.
function(qmx_add_forms target)
    set(script ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/qmx_form_rc.py)
    set(outdir ${CMAKE_CURRENT_BINARY_DIR}/${target}_forms)
    set(forms)
    set(converted)
    foreach(form ${ARGN})
        get_filename_component(path ${form} ABSOLUTE)
        get_filename_component(name ${form} NAME)
        list(APPEND forms ${path})
        list(APPEND converted ${outdir}/${name}.cp1250)
    endforeach()
    add_custom_command(OUTPUT ${outdir}/forms.rc ${converted}
        COMMAND python3 ${script} ${outdir} ${forms}
        DEPENDS ${script} ${forms}
        COMMENT "Form resources of ${target}"
        VERBATIM)
    set_source_files_properties(${outdir}/forms.rc PROPERTIES OBJECT_DEPENDS "${converted}")
    target_sources(${target} PRIVATE ${outdir}/forms.rc)
endfunction()
