// Where a dialog is made the first time something needs it (`dialog()`): until then nothing of it is
// built, drawn or decoded. The place spans the window, so the dialog centres and keeps itself inside
// it, and stacks among the window's parts, as one declared there. The dialog is found by the
// objectName its declaration gives it, once it exists.
import QtQuick

Item {
    id: place

    // The dialog's declaration.
    default property Component declaration
    property Item item: null

    anchors.fill: parent

    function dialog()
    {
        if (!item)
            item = declaration.createObject(place);
        return item;
    }
}
