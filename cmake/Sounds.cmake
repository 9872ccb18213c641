# The program's sounds, made at build time by tools/sound and embedded as ":/sounds/<name>.wav".

function(ludra_add_sounds target)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/sounds)
    set(sounds ${dir}/Ruch.wav ${dir}/Blond.wav ${dir}/Final.wav)
    add_custom_command(OUTPUT ${sounds}
        COMMAND $<TARGET_FILE:ludra-sounds> ${dir}
        DEPENDS ludra-sounds
        COMMENT "Making the sounds"
        VERBATIM)
    set_source_files_properties(${sounds} PROPERTIES GENERATED TRUE)
    qt_add_resources(${target} "sounds" PREFIX "/sounds" BASE ${dir} FILES ${sounds})
endfunction()
