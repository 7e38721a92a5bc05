# Copies the default installation (modules/setting, gun, i18n, macro and the tray icon) beside the
# executables. Tests start from this copy too, through KC_INSTALLATION_DIR.
set(KC_MODULES_SOURCE ${CMAKE_SOURCE_DIR}/modules)
set(KC_INSTALLATION_DIR ${KC_RUNTIME_DIR})

file(GLOB_RECURSE KC_INSTALLATION_FILES CONFIGURE_DEPENDS
  ${KC_MODULES_SOURCE}/setting/*
  ${KC_MODULES_SOURCE}/gun/*
  ${KC_MODULES_SOURCE}/i18n/*
  ${KC_MODULES_SOURCE}/img/logo.ico)

set(KC_INSTALLATION_OUTPUTS)
foreach(src ${KC_INSTALLATION_FILES})
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${src})
  set(dst ${KC_RUNTIME_DIR}/${rel})
  add_custom_command(OUTPUT ${dst}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${src} ${dst}
    DEPENDS ${src}
    COMMENT "Installation data ${rel}")
  list(APPEND KC_INSTALLATION_OUTPUTS ${dst})
endforeach()
add_custom_target(installation_data ALL
  DEPENDS ${KC_INSTALLATION_OUTPUTS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KC_RUNTIME_DIR}/modules/macro)
