# kc_add_qtest(NAME SOURCES... LIBS ... LABEL labels... [TIMEOUT s] [ENV ...])
# A QtTest executable run headless, with the default installation's path compiled in. NAME is
# tst_<subsystem>_<topic>; the labels are the folders under tests/ that hold its source.
function(kc_add_qtest name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;ENV;LABEL" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  target_compile_definitions(${name} PRIVATE
    KC_INSTALLATION_DIR="${KC_INSTALLATION_DIR}"
    KC_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_dependencies(${name} installation_data)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    LABELS "${T_LABEL}"
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${T_ENV}")
endfunction()
