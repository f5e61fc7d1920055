// The working windows the side bar opens inside the main window. Each subsystem registers
// the kind of window it owns; the registry keeps the one program-wide reference per kind and
// runs the dispatcher's steps against the kinds that exist.
#pragma once

#include <QList>

#include <functional>

class QDialog;
class QWidget;

namespace kvl {

struct WorkingWindowKind
{
    // The side-bar item that opens the window: 0 business, 1 unsettled, 2 goods statistics,
    // 10 partners, 11 goods, 12 staff.
    int tag = -1;
    // Creates the window inside `panel` (the main window's Panel2), filling it without a
    // border (placeIn() does that), runs its opening steps and shows it. Returns the window,
    // or null when it could not be opened. The registry makes it free itself on closing.
    std::function<QWidget *(QWidget *panel)> open;
    // Optional: runs before the window is closed because another item was chosen.
    std::function<void(QWidget *window)> beforeClose;
    // Optional: runs when the window's own item is chosen again; without it the window is
    // shown, raised and given the focus.
    std::function<void(QWidget *window)> bringToFront;
};

class WorkingWindows
{
public:
    // Registers `kind`, replacing a kind with the same tag.
    static void add(const WorkingWindowKind &kind);
    // Forgets the kind and its reference; an open window stays as it is.
    static void remove(int tag);
    static bool has(int tag);
    // Ascending, which is the order of the dispatcher's steps.
    static QList<int> tags();

    // The program-wide reference: the open window of that kind, or null. A working window is
    // hidden only by closing, and closing frees it, so a hidden one counts as gone.
    static QWidget *window(int tag);
    // Any open working window (at most one is open after each dispatch), or null.
    static QWidget *current();

    // The dispatcher's steps for the working windows, in order: the window of the chosen
    // item is created or brought to the front, every other open one is closed.
    static void dispatch(int chosenTag, QWidget *panel);
    // Closes every open working window, as choosing an item without a window does.
    static void closeAll();

    // Makes `window` a borderless child of `panel` filling it, above the background picture.
    // The lists use it too, since they also serve as stand-alone pickers.
    static void placeIn(QWidget *window, QWidget *panel);

    // The maintenance dialog: the factory creates it (owner `mainWindow`); it is shown
    // modally and freed when it closes. Null removes the factory.
    using DialogFactory = std::function<QDialog *(QWidget *mainWindow)>;
    static void setMaintenanceDialog(DialogFactory factory);
    static bool hasMaintenanceDialog();
    // The maintenance dialog while it is open, or null.
    static QDialog *maintenanceDialog();
    // Creates and runs the dialog unless one is open or none is registered; true when it ran.
    static bool runMaintenanceDialog(QWidget *mainWindow);

private:
    static void step(int kindTag, int chosenTag, QWidget *panel);
};

} // namespace kvl
