# Artwork: every resources/art/<name>.svg is rendered at build time, at the size
# its width and height give, to <name>.jpg, and embedded as the Qt resource
# ":/art/<name>.jpg". Names are lower case; the program looks them up ignoring case.
# The same tool renders the pictures of the bundled sets as JPEG, GIF and BMP (samples/).
add_library(ludra_picture_files STATIC tools/art/PictureEncoders.cpp)
target_include_directories(ludra_picture_files PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(ludra_picture_files PUBLIC Qt6::Gui PRIVATE JPEG::JPEG GIF::GIF)
ludra_warnings(ludra_picture_files)
add_executable(ludra-art tools/art/RenderArt.cpp)
target_link_libraries(ludra-art PRIVATE ludra_picture_files Qt6::Svg)
ludra_warnings(ludra-art)

function(ludra_add_artwork target)
    file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/art/*.svg)
    set(pictures)
    file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/art)
    foreach(source IN LISTS sources)
        get_filename_component(name ${source} NAME_WE)
        set(picture ${CMAKE_CURRENT_BINARY_DIR}/art/${name}.jpg)
        add_custom_command(OUTPUT ${picture}
            COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:ludra-art> ${source} ${picture}
            DEPENDS ${source} ludra-art
            COMMENT "Rendering ${name}.jpg"
            VERBATIM)
        list(APPEND pictures ${picture})
    endforeach()
    set_source_files_properties(${pictures} PROPERTIES GENERATED TRUE)
    qt_add_resources(${target} "artwork" PREFIX "/art" BASE ${CMAKE_CURRENT_BINARY_DIR}/art FILES ${pictures})
endfunction()
