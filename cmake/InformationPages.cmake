# The dialog server's information pages, one per service and language, made from the templates in
# resources/pages. The shared style and script are written into each page: a page opened from the
# local disk runs only its own scripts.
set(VOCABRA_PAGES_DIR "${PROJECT_BINARY_DIR}/pages")

function(vocabra_make_information_pages)
    set(source "${PROJECT_SOURCE_DIR}/resources/pages")
    set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
        "${source}/page.css" "${source}/page.js")
    file(READ "${source}/page.css" PAGE_STYLE)
    file(READ "${source}/page.js" PAGE_SCRIPT)
    # Internet Explorer honours the mark of the web only when a CR LF ends its line.
    set(PAGE_WEB_MARK "<!-- saved from url=(0014)about:internet -->\r")
    set(progress_en "Looking up the translation…")
    set(progress_ru "Ищем перевод…")
    foreach(PAGE_LANGUAGE en ru)
        set(PAGE_PROGRESS_TEXT "${progress_${PAGE_LANGUAGE}}")
        foreach(service babylon multilex lingvo google)
            configure_file("${source}/${service}.html.in" "${VOCABRA_PAGES_DIR}/${PAGE_LANGUAGE}/${service}.html" @ONLY)
        endforeach()
    endforeach()
endfunction()
