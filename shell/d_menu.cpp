#include "shell/d_menu.h"

#include "play/tb_pump.h"
#include "play/tb_util.h"
#include "services/d_error.h"
#include "services/d_folders.h"
#include "services/d_string.h"

#include <QActionGroup>

#include <algorithm>

namespace tb {
namespace fs = std::filesystem;

namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TMenu::TMenu(QMenuBar& bar, std::vector<TMenuItem> rows) : MenuRows(std::move(rows)) {
    std::map<int, QActionGroup*> groups;
    for (const TMenuItem& row : MenuRows) {
        QMenu* parent = row.Menu != 0 ? Menus.at(row.Menu) : nullptr;
        if (row.Kind == TMenuKind::Separator) {
            parent->addSeparator();
            continue;
        }
        QAction* item = nullptr;
        if (row.Kind == TMenuKind::Menu) {
            // Owned by the menu it sits in, or by the bar.
            auto* menu = new QMenu(Utf8(BuiltInCaption(row)),
                                   parent != nullptr ? static_cast<QWidget*>(parent) : &bar);
            if (parent != nullptr)
                parent->addMenu(menu);
            else
                bar.addMenu(menu);
            Menus.emplace(row.Tag, menu);
            item = menu->menuAction();
        } else {
            item = parent->addAction(Utf8(BuiltInCaption(row)));
            OnTrigger(item, row.Command);
        }
        item->setCheckable(row.Checkable);
        if (row.Exclusive) {
            QActionGroup*& group = groups[row.Menu];
            if (group == nullptr) group = new QActionGroup(parent); // owned by the menu
            group->addAction(item);
        }
        if (row.Hidden) item->setVisible(false);
        Items.emplace(row.Tag, item);
    }
}

void TMenu::OnTrigger(QAction* item, std::function<void()> command) {
    QObject::connect(item, &QAction::triggered, item,
                     [item, command = std::move(command)](bool checked) {
                         if (!TEventPump::RunCommand(command) && item->isCheckable() &&
                             item->actionGroup() == nullptr)
                             item->setChecked(!checked);
                     });
}

QAction* TMenu::Item(int tag) const {
    const auto it = Items.find(tag);
    if (it == Items.end()) throw Error("No menu item with the tag " + std::to_string(tag));
    return it->second;
}

QMenu* TMenu::Menu(int tag) const {
    const auto it = Menus.find(tag);
    if (it == Menus.end()) throw Error("No menu with the tag " + std::to_string(tag));
    return it->second;
}

void TMenu::ShowItem(int tag, bool visible) {
    if (const auto it = Items.find(tag); it != Items.end()) it->second->setVisible(visible);
}

void TMenu::ApplyCaptions(const std::map<int, std::string>& captions) {
    for (const TMenuItem& row : MenuRows) {
        const int key = CaptionKey(row);
        const auto caption = captions.find(key);
        if (key != 0 && caption != captions.end() && !caption->second.empty())
            Item(row.Tag)->setText(ToUnicode(caption->second));
    }
}

std::vector<QAction*> TMenu::AddEntries(int tag, const std::vector<std::string>& names,
                                        const std::function<void(QAction*)>& command) {
    QMenu* menu = Menu(tag);
    std::vector<QAction*> entries;
    for (const std::string& name : names) {
        QAction* item = menu->addAction(PlainCaption(name));
        item->setData(QString::fromStdString(name));
        item->setCheckable(true);
        OnTrigger(item, [item, command] { command(item); });
        entries.push_back(item);
    }
    return entries;
}

std::vector<std::string> FolderEntries(const TFolders& folders, const fs::path& shipped,
                                       bool foldersOnly) {
    std::vector<std::string> names;
    for (const fs::path& folder : ContentFolders(folders, shipped)) {
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            if (foldersOnly && !it->is_directory(ec)) continue;
            const std::string name = it->path().filename().string();
            if (name.empty() || name.front() == '.') continue;
            names.push_back(NormaliseName(name.substr(0, name.find('.'))));
        }
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

QString PlainCaption(const std::string& name) {
    return ToUnicode(name).replace("&", "&&");
}

std::string ItemSetName(const QAction* item) {
    return item->data().toString().toStdString();
}

} // namespace tb
