# libFuzzer targets for the FTP listing parser and the FTP reply reader. Included by the fuzz build
# only: they need clang, and the layers they link should be built with -fsanitize=fuzzer-no-link.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
endif()
foreach(target ftp_listing ftp_reply)
    add_executable(fuzz_${target} ${CMAKE_CURRENT_LIST_DIR}/fuzz_${target}.cpp)
    target_link_libraries(fuzz_${target} PRIVATE tc_publish)
    target_compile_options(fuzz_${target} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(fuzz_${target} PRIVATE -fsanitize=fuzzer,address,undefined)
endforeach()
