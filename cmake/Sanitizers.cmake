# AddressSanitizer and UndefinedBehaviorSanitizer for the whole build;
# any report fails the run instead of being printed and ignored.
if(LUDRA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
