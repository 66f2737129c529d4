# One interface target carries the compiler settings every Quarix target
# shares; linking it is how a target opts in.
add_library(quarix_options INTERFACE)
target_compile_features(quarix_options INTERFACE cxx_std_20)
target_compile_options(quarix_options INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(quarix_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_URL_CAST_FROM_STRING
    QT_DISABLE_DEPRECATED_UP_TO=0x060400
    QUARIX_VERSION="${PROJECT_VERSION}"
    $<$<NOT:$<CONFIG:Release>>:_GLIBCXX_ASSERTIONS>)
target_include_directories(quarix_options INTERFACE ${PROJECT_SOURCE_DIR})

if(QUARIX_WERROR)
    target_compile_options(quarix_options INTERFACE -Werror)
endif()

if(QUARIX_SANITIZE)
    target_compile_options(quarix_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(quarix_options INTERFACE -fsanitize=address,undefined)
endif()

# Where tests find their data and helper programs without being installed.
set(QUARIX_TEST_DATA "${PROJECT_SOURCE_DIR}/tests/data")
