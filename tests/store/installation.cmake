# Checks the default installation copied beside the executables (settings, gun presets, languages, icon).
kc_add_qtest(tst_store_installation SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_installation.cpp
  LIBS Qt6::Core Qt6::Gui kc_test_support LABEL store)
