// English texts are the pages' own built-in lists; Chinese is our own translation. The pages look
// texts up by position: a text keeps its place.
#include "LanguageTexts.h"

#include <initializer_list>

namespace {

QStringList utf8List(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *text : texts)
        list << QString::fromUtf8(text);
    return list;
}

// Pads a list with empty strings up to the length of the page's built-in list.
QStringList padded(QStringList list, int count)
{
    while (list.size() < count)
        list << QString();
    return list;
}

} // namespace

QStringList keyCodeNames()
{
    QStringList names;
    for (char c = 'A'; c <= 'Z'; ++c) // 0x04 - 0x1D
        names << QString(QChar(c));
    for (char c = '1'; c <= '9'; ++c) // 0x1E - 0x26
        names << QString(QChar(c));
    names << "0"; // 0x27
    // 0x28 - 0x39; the backslash appears twice (0x31 and the non-US 0x32)
    names << utf8List({"Enter", "Esc", "Back", "Tab", "Space", "-", "=", "[", "]", "\\", "\\", ";", "'", "`",
                       ",", ".", "/", "Caps"});
    for (int f = 1; f <= 12; ++f) // 0x3A - 0x45
        names << QStringLiteral("F%1").arg(f);
    // 0x46 - 0x58
    names << utf8List({"Prt", "Scr", "Pau", "Ins", "Hom", "Pgu", "Del", "End", "PgD", "►", "◄", "▼", "▲",
                       "Num", "KP/", "KP*", "KP-", "KP+", "KPEnter"});
    for (int k = 1; k <= 9; ++k) // 0x59 - 0x61
        names << QStringLiteral("KP%1").arg(k);
    names << utf8List({"KP0", "KP.", "Eur2", "App", "Power", "KP="}); // 0x62 - 0x67
    for (int f = 13; f <= 24; ++f)                                    // 0x68 - 0x73
        names << QStringLiteral("F%1").arg(f);
    // 0x85, 0x87 - 0x8B (0x89 repeats "Intl2"), 0x90, 0x91
    names << utf8List({"Keypad", "Intl1", "Intl2", "Intl2", "Intl4", "Intl5", "Lang1", "Lang2"});
    // 0xE0 - 0xE7, then the mouse buttons 0xF0 - 0xF4
    names << utf8List({"LCtrl", "LShift", "LAlt", "LWin", "RCtrl", "RShift", "RAlt", "RWin"});
    names << utf8List({"MS-L", "MS-R", "MS-M", "MS-B4", "MS-B5"});
    return names;
}

QList<LanguageSection> languageSections()
{
    QList<LanguageSection> sections;

    sections << LanguageSection{
        "main",
        // 11 on: the questions before an edit is lost or something is reset or deleted (%1 is the
        // profile's or macro's name), and the tips of the picture-only buttons; 24 … 26 the ask menu's
        // "Language" and "Version" and the language's own name, which the ask menu lists it by.
        padded(utf8List({"Editor",
                         "Macro Editor",
                         "Gun Editor",
                         "Report Rate",
                         "Config",
                         "Reset",
                         "Reset this profile to its factory settings?",
                         "Cancel",
                         "OK",
                         "System Settings",
                         "Save",
                         "Unsaved changes",
                         "Profile “%1” has changes that are not saved. Save them first?",
                         "Discard",
                         "This resets profile “%1” (its buttons, DPI, report rate, lighting and pointer "
                         "settings) and the three gun presets that all profiles share.",
                         "Close",
                         "Minimize",
                         "Help",
                         "Back to this button's default function",
                         "Apply and close",
                         "Delete",
                         "Delete profile “%1”? It leaves the list.",
                         "Delete macro “%1”? Buttons that run it get their default function back.",
                         "",
                         "Language",
                         "Version",
                         "English"}),
               27),
        padded(utf8List({"编辑",
                         "宏编辑器",
                         "压枪编辑器",
                         "回报率",
                         "配置",
                         "重置",
                         "恢复出厂设置",
                         "取消",
                         "确定",
                         "系统设置",
                         "保存",
                         "未保存的更改",
                         "配置“%1”有尚未保存的更改。要先保存吗？",
                         "放弃",
                         "这将把配置“%1”（按键、DPI、回报率、灯效和指针设置）以及所有配置共用的三个压枪预设"
                         "恢复为出厂设置。",
                         "关闭",
                         "最小化",
                         "帮助",
                         "恢复此按键的默认功能",
                         "应用并关闭",
                         "删除",
                         "删除配置“%1”？它将从列表中移除。",
                         "删除宏“%1”？使用它的按键将恢复默认功能。",
                         "",
                         "语言",
                         "版本",
                         "简体中文"}),
               27)};

    sections << LanguageSection{"keyMatrix", padded(utf8List({"Key ", "Key Function"}), 5),
                                padded(utf8List({"按键 ", "按键功能"}), 5)};

    sections << LanguageSection{"keyAssigment",
                                padded(utf8List({"Key ",
                                                 "Mouse Function",
                                                 "Left Key",
                                                 "Middle Key",
                                                 "Right Key",
                                                 "Forward Key",
                                                 "Back Key",
                                                 "Double Fire",
                                                 "Fire Function",
                                                 "Key Value",
                                                 "Click Input",
                                                 "Rate",
                                                 "Times",
                                                 "Endless",
                                                 "Combo Function",
                                                 "Media Function",
                                                 "Macro Function",
                                                 "Macro Editor",
                                                 "Macro runs as many times as set in the macro editor",
                                                 "Macro repeats until any button is pressed",
                                                 "Macro repeats while the button is held",
                                                 "DPI Function",
                                                 "DPI+",
                                                 "DPI-",
                                                 "DPI Loop",
                                                 "System Function",
                                                 "Shortcut Function",
                                                 "Player",
                                                 "Next",
                                                 "Previous",
                                                 "Stop",
                                                 "Mute",
                                                 "Play/Pause",
                                                 "Volume+",
                                                 "Volume-",
                                                 "My PC",
                                                 "Home Page",
                                                 "Search",
                                                 "Maximize",
                                                 "Minimize",
                                                 "Desktop",
                                                 "Run",
                                                 "New",
                                                 "Cut",
                                                 "Copy",
                                                 "Paste",
                                                 "Save",
                                                 "Print",
                                                 "Find",
                                                 "Redo",
                                                 "Undo",
                                                 "Select All",
                                                 "Gun Function",
                                                 "Gun 1",
                                                 "Gun 2",
                                                 "Gun 3",
                                                 "Sniper Key"}),
                                       60),
                                padded(utf8List({"按键 ",
                                                 "鼠标功能",
                                                 "左键",
                                                 "中键",
                                                 "右键",
                                                 "前进键",
                                                 "后退键",
                                                 "双击",
                                                 "连发功能",
                                                 "键值",
                                                 "点击输入",
                                                 "速率",
                                                 "次数",
                                                 "无限",
                                                 "组合键功能",
                                                 "多媒体功能",
                                                 "宏功能",
                                                 "宏编辑器",
                                                 "按下按键后宏按设定次数执行",
                                                 "宏循环执行，直到按下任意按键",
                                                 "宏循环执行，直到松开按键",
                                                 "DPI功能",
                                                 "DPI+",
                                                 "DPI-",
                                                 "DPI循环",
                                                 "系统功能",
                                                 "快捷键功能",
                                                 "播放器",
                                                 "下一曲",
                                                 "上一曲",
                                                 "停止",
                                                 "静音",
                                                 "播放/暂停",
                                                 "音量+",
                                                 "音量-",
                                                 "我的电脑",
                                                 "主页",
                                                 "搜索",
                                                 "最大化",
                                                 "最小化",
                                                 "显示桌面",
                                                 "运行",
                                                 "新建",
                                                 "剪切",
                                                 "复制",
                                                 "粘贴",
                                                 "保存",
                                                 "打印",
                                                 "查找",
                                                 "重做",
                                                 "撤销",
                                                 "全选",
                                                 "压枪功能",
                                                 "枪械一",
                                                 "枪械二",
                                                 "枪械三",
                                                 "狙击键"}),
                                       60)};

    sections << LanguageSection{"dpiSetting", padded(utf8List({"DPI"}), 5), padded(utf8List({"DPI"}), 5)};

    sections << LanguageSection{
        "lightControl",
        padded(utf8List({"Light", "Static", "Breath", "Neon", "Off", "Speed", "Color", "Brightness",
                         "Twinkling", "Wave", "Gliding", "Finger Moving", "Vertical Flipping", "Yo-Yo",
                         "Spotlight", "Breath Loop"}),
               20),
        padded(utf8List({"灯光", "常亮", "呼吸", "霓虹", "关闭", "速度", "颜色", "亮度", "闪烁", "波浪",
                         "流光", "指尖律动", "上下翻转", "溜溜球", "聚光灯", "循环呼吸"}),
               20)};

    sections << LanguageSection{
        "macroEditor",
        padded(utf8List({"Macro Editor", "Macro Name", "New", "Delete", "Action", "Stop Record", "Times",
                         "OK", "Start Record", "Delay", "Delete", "Import", "Export", "Insert Delay",
                         "Insert Key", "Insert Left Key", "Insert Middle Key", "Insert Right Key"}),
               20),
        padded(utf8List({"宏编辑器", "宏名称", "新建", "删除", "动作", "停止录制", "次数", "确定", "开始录制",
                         "延时", "删除", "导入", "导出", "插入延时", "插入按键", "插入左键", "插入中键",
                         "插入右键"}),
               20)};

    sections << LanguageSection{
        "systemSetting",
        utf8List({"System Settings", "Pointer Speed", "Double-Click Speed", "Slow", "Fast", "Scroll Speed",
                  "Lines per Notch", "One Screen per Notch", "Changed on this desktop:",
                  "Nothing on this desktop can apply these settings; they are kept with the profile.",
                  "desktop settings", "KDE settings", "X input devices (libinput)", "X pointer acceleration",
                  "not applied"}),
        utf8List({"系统设置", "指针速度", "双击速度", "慢", "快", "滚轮速度", "滚动行数", "一次滚动一屏",
                  "已在此桌面更改：", "此桌面无法应用这些设置，它们已随配置保存。", "桌面设置", "KDE 设置",
                  "X 输入设备 (libinput)", "X 指针加速", "未应用"})};

    sections << LanguageSection{"gunControl",
                                utf8List({"Gun Editor", "Gun", "Select Gun", "Cursor Adjust", "X Axis",
                                          "Y Axis", "Fire Adjust", "Rate", "Times", "Endless"}),
                                utf8List({"压枪编辑器", "枪械", "选择枪械", "准星调整", "X轴", "Y轴",
                                          "射击调整", "射速", "次数", "无限"})};

    sections << LanguageSection{
        "profile",
        utf8List({"Config", "New", "Import", "Delete", "Export", "Standard", "Programs that switch to “%1”:",
                  "Link to program…", "Default for all other programs",
                  "Show a balloon when a program switches the profile", "No program linked", "Remove the link",
                  "Windows open now", "Program name:", "Link", "Cancel",
                  "Native Wayland programs cannot be followed on this desktop; X11 programs are.",
                  "Following programs is not available on this desktop.", "default", "Link to program"}),
        utf8List({"配置", "新建", "导入", "删除", "导出", "标准", "切换到“%1”的程序：", "关联程序…",
                  "其他所有程序的默认配置", "程序切换配置时显示气泡提示", "未关联程序", "移除关联", "当前打开的窗口",
                  "程序名称：", "关联", "取消", "此桌面无法跟随原生 Wayland 程序；X11 程序可以跟随。",
                  "此桌面无法跟随程序。", "默认", "关联程序"})};

    sections << LanguageSection{"keyCode", keyCodeNames(), keyCodeNames()};

    // Tray texts of the DPI stage notification, eight entries as the scene has them built in.
    QStringList englishDpi;
    QStringList chineseDpi;
    for (int entry = 0; entry < 8; ++entry) {
        englishDpi << QStringLiteral("DPI Switch to");
        chineseDpi << QString::fromUtf8("DPI切换到");
    }
    sections << LanguageSection{"other", englishDpi, chineseDpi};

    // The mouse's presence: the title area's indicator, the notice about changes kept for later, the
    // tray's balloons (%1 the mouse's name, %2 the stage's DPI), its Quit entry, and the balloons of a
    // profile switched by the program in front (%1 the profile, %2 the program).
    sections << LanguageSection{
        "device",
        utf8List({"No mouse connected",
                  "The mouse is not connected. What you changed is saved and will be sent to the mouse when it "
                  "is connected.",
                  "%1 connected", "%1 disconnected", "DPI stage %1: %2", "DPI stage %1", "Quit (&Q)",
                  "Profile “%1” for %2", "Profile “%1”"}),
        utf8List({"未连接鼠标", "鼠标未连接。您的更改已保存，鼠标连接后将发送给鼠标。", "%1 已连接", "%1 已断开",
                  "DPI 档位 %1：%2", "DPI 档位 %1", "退出 (&Q)", "配置“%1”：%2", "配置“%1”"})};

    return sections;
}
