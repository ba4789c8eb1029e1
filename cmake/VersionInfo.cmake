# Every program carries the project's version: a VERSIONINFO resource on Windows, an embedded
# version record in the native build (read back by GetFileVersion on both).
set(VOCABRA_VERSION_COMMA "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},${PROJECT_VERSION_TWEAK}")

# vocabra_add_version_info(<target> <description> [DLL])
function(vocabra_add_version_info target description)
    set(VOCABRA_FILE_DESCRIPTION "${description}")
    get_target_property(kind ${target} TYPE)
    if(kind STREQUAL "SHARED_LIBRARY")
        set(VOCABRA_FILE_TYPE "VFT_DLL")
        set(VOCABRA_ORIGINAL_NAME "${target}.dll")
    else()
        set(VOCABRA_FILE_TYPE "VFT_APP")
        set(VOCABRA_ORIGINAL_NAME "${target}.exe")
    endif()
    if(WIN32)
        set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc")
        configure_file("${PROJECT_SOURCE_DIR}/resources/common/version.rc.in" "${rc}" @ONLY)
        target_sources(${target} PRIVATE "${rc}")
    else()
        target_sources(${target} PRIVATE $<TARGET_OBJECTS:vocabra_version_record>)
    endif()
endfunction()

# vocabra_add_locale_strings(<target>): the shared string table (Windows; the native build has it
# compiled in).
function(vocabra_add_locale_strings target)
    if(WIN32)
        target_sources(${target} PRIVATE "${PROJECT_BINARY_DIR}/resources/Strings.rc")
    endif()
endfunction()

# vocabra_ship_locale(<target>): the shipped locale folder, service icons and the dialog server's
# information pages beside the program, as an installation has them.
function(vocabra_ship_locale target)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_directory "${PROJECT_SOURCE_DIR}/locale" "$<TARGET_FILE_DIR:${target}>/locale"
        COMMAND ${CMAKE_COMMAND} -E copy_directory "${PROJECT_SOURCE_DIR}/resources/services" "$<TARGET_FILE_DIR:${target}>/icons"
        COMMAND ${CMAKE_COMMAND} -E copy_directory "${VOCABRA_PAGES_DIR}" "$<TARGET_FILE_DIR:${target}>/pages"
        VERBATIM)
endfunction()
