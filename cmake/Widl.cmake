# Interface definitions compiled into a C/C++ header, the identifiers (<name>_i.c) and a type
# library (<name>.tlb): widl in the MinGW cross build, MIDL under MSVC.
#
# vocabra_widl(<target> <idl> [TYPELIB_RESOURCE])
#   Adds the identifiers to <target>'s sources and the output folder to its include path, so that
#   `#include "<name>.h"` works. TYPELIB_RESOURCE also embeds the type library in the program as
#   resource TYPELIB 1, where LoadTypeLibEx(<program path>) finds it.
#   The output folder is returned in <target>_WIDL_DIR.

# widl reads the system's .idl files from Wine's development package (MinGW ships none).
set(VOCABRA_WIDL_INCLUDE_DIR "/usr/include/wine/wine/windows" CACHE PATH "Folder of the system .idl files for widl")
set(VOCABRA_WIDL_TYPELIB_DIR "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows" CACHE PATH
    "Folder of stdole2.tlb for widl's importlib")

function(vocabra_widl target idl)
    cmake_parse_arguments(PARSE_ARGV 2 arg "TYPELIB_RESOURCE" "" "")
    get_filename_component(idl_path "${idl}" ABSOLUTE)
    get_filename_component(name "${idl}" NAME_WE)
    set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}_widl")
    set(header "${out}/${name}.h")
    set(ids "${out}/${name}_i.c")
    set(tlb "${out}/${name}.tlb")
    file(MAKE_DIRECTORY "${out}")

    if(MSVC)
        add_custom_command(OUTPUT "${header}" "${ids}" "${tlb}"
            COMMAND midl /nologo /env x64 /h "${header}" /iid "${ids}" /tlb "${tlb}" "${idl_path}"
            DEPENDS "${idl_path}"
            COMMENT "MIDL ${name}.idl"
            VERBATIM)
    else()
        find_program(VOCABRA_WIDL NAMES x86_64-w64-mingw32-widl widl REQUIRED)
        add_custom_command(OUTPUT "${header}" "${ids}" "${tlb}"
            # -o <name> names all three outputs after it, in the working folder (a folder in the
            # name is not honoured for all of them).
            COMMAND "${VOCABRA_WIDL}" -m64 -t -h -u
                    -I "${VOCABRA_WIDL_INCLUDE_DIR}" -L "${VOCABRA_WIDL_TYPELIB_DIR}"
                    -o "${name}" "${idl_path}"
            WORKING_DIRECTORY "${out}"
            DEPENDS "${idl_path}"
            COMMENT "widl ${name}.idl"
            VERBATIM)
    endif()

    target_sources(${target} PRIVATE "${header}" "${ids}")
    target_include_directories(${target} PRIVATE "${out}")
    # The generated identifiers file is C; its unused-parameter style is not ours to fix.
    set_source_files_properties("${ids}" PROPERTIES COMPILE_OPTIONS "$<$<NOT:$<C_COMPILER_ID:MSVC>>:-w>")

    if(arg_TYPELIB_RESOURCE)
        set(rc "${out}/${name}_typelib.rc")
        file(CONFIGURE OUTPUT "${rc}" CONTENT "1 TYPELIB \"${tlb}\"\n")
        set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${tlb}")
        target_sources(${target} PRIVATE "${rc}" "${tlb}")
    endif()
    set(${target}_WIDL_DIR "${out}" PARENT_SCOPE)
endfunction()
