add_library(brisko_warnings INTERFACE)
target_compile_options(brisko_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow
                       -Wno-missing-field-initializers)
if(BRISKO_WERROR)
  target_compile_options(brisko_warnings INTERFACE -Werror)
endif()
