// Runs every tst_*.qml case of this folder.
#include <QtQuickTest>

QUICK_TEST_MAIN(qml_logic)
