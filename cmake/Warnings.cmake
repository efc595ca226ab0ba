# Applied to every target of the project, not to imported ones.
add_compile_options(-Wall -Wextra)
if(TARVIC_WERROR)
  add_compile_options(-Werror)
endif()
if(TARVIC_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
