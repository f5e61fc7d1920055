// The registry of working-window kinds, their references and the maintenance dialog.
#include "WorkingWindows.h"

#include "ModalRunner.h"

#include <QDialog>
#include <QGridLayout>
#include <QPointer>
#include <QWidget>

#include <map>

namespace kvl {

namespace {

struct Entry
{
    WorkingWindowKind kind;
    QPointer<QWidget> window;
};

struct Registry
{
    std::map<int, Entry> kinds;
    WorkingWindows::DialogFactory maintenance;
    QPointer<QDialog> maintenanceOpen;
};

Registry &registry()
{
    static Registry r;
    return r;
}

QWidget *alive(QPointer<QWidget> &ref)
{
    // Closing hides the window at once and frees it a moment later; in between it is gone.
    if (ref && ref->isHidden())
        ref.clear();
    return ref.data();
}

} // namespace

void WorkingWindows::add(const WorkingWindowKind &kind)
{
    Entry &e = registry().kinds[kind.tag];
    e.kind = kind;
}

void WorkingWindows::remove(int tag)
{
    registry().kinds.erase(tag);
}

bool WorkingWindows::has(int tag)
{
    return registry().kinds.count(tag) > 0;
}

QList<int> WorkingWindows::tags()
{
    QList<int> out;
    for (const auto &[tag, e] : registry().kinds)
        out.append(tag);
    return out;
}

QWidget *WorkingWindows::window(int tag)
{
    auto it = registry().kinds.find(tag);
    return it == registry().kinds.end() ? nullptr : alive(it->second.window);
}

QWidget *WorkingWindows::current()
{
    for (auto &[tag, e] : registry().kinds) {
        if (QWidget *w = alive(e.window))
            return w;
    }
    return nullptr;
}

void WorkingWindows::step(int kindTag, int chosenTag, QWidget *panel)
{
    auto it = registry().kinds.find(kindTag);
    if (it == registry().kinds.end())
        return;
    // Copies: a kind's own code may register or remove kinds while it runs.
    const WorkingWindowKind kind = it->second.kind;
    QWidget *open = alive(it->second.window);
    if (open) {
        if (kindTag == chosenTag) {
            if (kind.bringToFront) {
                kind.bringToFront(open);
            } else {
                open->show();
                open->raise();
                open->setFocus();
            }
            return;
        }
        if (kind.beforeClose)
            kind.beforeClose(open);
        QPointer<QWidget> closing(open);
        if (open->close()) {
            auto again = registry().kinds.find(kindTag);
            if (again != registry().kinds.end() && again->second.window == closing)
                again->second.window.clear();
        }
        return;
    }
    if (kindTag != chosenTag || !kind.open || !panel)
        return;
    QWidget *created = kind.open(panel);
    if (!created)
        return;
    created->setAttribute(Qt::WA_DeleteOnClose);
    auto again = registry().kinds.find(kindTag);
    if (again != registry().kinds.end())
        again->second.window = created;
}

void WorkingWindows::dispatch(int chosenTag, QWidget *panel)
{
    for (int tag : tags())
        step(tag, chosenTag, panel);
}

void WorkingWindows::closeAll()
{
    dispatch(-1, nullptr);
}

void WorkingWindows::placeIn(QWidget *window, QWidget *panel)
{
    window->setParent(panel, Qt::Widget);
    auto *grid = qobject_cast<QGridLayout *>(panel->layout());
    if (!grid && !panel->layout()) {
        grid = new QGridLayout(panel);
        grid->setContentsMargins(0, 0, 0, 0);
    }
    if (grid)
        grid->addWidget(window, 0, 0);
    else
        window->setGeometry(panel->rect());
    window->raise();
}

void WorkingWindows::setMaintenanceDialog(DialogFactory factory)
{
    registry().maintenance = std::move(factory);
}

bool WorkingWindows::hasMaintenanceDialog()
{
    return bool(registry().maintenance);
}

QDialog *WorkingWindows::maintenanceDialog()
{
    return registry().maintenanceOpen.data();
}

bool WorkingWindows::runMaintenanceDialog(QWidget *mainWindow)
{
    Registry &r = registry();
    if (r.maintenanceOpen || !r.maintenance)
        return false;
    const DialogFactory factory = r.maintenance;
    QDialog *dialog = factory(mainWindow);
    if (!dialog)
        return false;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    r.maintenanceOpen = dialog;
    ModalRunner::exec(*dialog);
    // The runner frees it; a dialog that somehow survived is no longer the open one.
    r.maintenanceOpen.clear();
    return true;
}

} // namespace kvl
