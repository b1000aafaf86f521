#include "platform/dialogs/FolderTreeModel.h"

#include <QApplication>
#include <QStyle>

struct FolderTreeModel::Item {
    ShellNode node;
    Item* parent = nullptr;
    int row = 0;
    bool filled = false;
    std::optional<bool> hasChildren;
    std::vector<std::unique_ptr<Item>> children;
};

FolderTreeModel::FolderTreeModel(ShellNode root, bool includeFiles, QObject* parent)
    : QAbstractItemModel(parent), root_(std::make_unique<Item>()), includeFiles_(includeFiles)
{
    root_->node = std::move(root);
}

FolderTreeModel::~FolderTreeModel() = default;

FolderTreeModel::Item* FolderTreeModel::ItemAt(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Item*>(index.internalPointer()) : nullptr;
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    Item* item = ItemAt(parent);
    if (!item)  // the invisible top holds the root alone
        return row == 0 ? createIndex(0, 0, root_.get()) : QModelIndex();
    if (row >= static_cast<int>(item->children.size()))
        return {};
    return createIndex(row, 0, item->children[static_cast<std::size_t>(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const
{
    Item* item = ItemAt(child);
    if (!item || !item->parent)
        return {};
    return createIndex(item->parent->row, 0, item->parent);
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const
{
    Item* item = ItemAt(parent);
    if (!item)
        return 1;
    return static_cast<int>(item->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex&) const { return 1; }

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const
{
    Item* item = ItemAt(parent);
    if (!item)
        return true;
    if (item->filled)
        return !item->children.empty();
    if (!item->hasChildren)
        item->hasChildren = ShellNodeHasChildren(item->node, includeFiles_);
    return *item->hasChildren;
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const
{
    Item* item = ItemAt(parent);
    return item && !item->filled;
}

void FolderTreeModel::fetchMore(const QModelIndex& parent)
{
    if (Item* item = ItemAt(parent))
        Fill(item, parent);
}

void FolderTreeModel::Fill(Item* item, const QModelIndex& index)
{
    if (item->filled)
        return;
    item->filled = true;
    std::vector<ShellNode> children = ShellNodeChildren(item->node, includeFiles_);
    if (children.empty()) {
        // The expander goes away.
        Q_EMIT dataChanged(index, index);
        return;
    }
    beginInsertRows(index, 0, static_cast<int>(children.size()) - 1);
    for (ShellNode& node : children) {
        auto child = std::make_unique<Item>();
        child->node = std::move(node);
        child->parent = item;
        child->row = static_cast<int>(item->children.size());
        item->children.push_back(std::move(child));
    }
    endInsertRows();
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const
{
    Item* item = ItemAt(index);
    if (!item)
        return {};
    if (role == Qt::DisplayRole)
        return ShellNodeDisplayName(item->node);
    if (role == Qt::DecorationRole) {
        switch (item->node.Kind()) {
        case ShellNodeKind::Desktop:
            return icons_.icon(QFileIconProvider::Desktop);
        case ShellNodeKind::MyComputer:
            return icons_.icon(QFileIconProvider::Computer);
        case ShellNodeKind::Drive:
            if (ShellNodeImageIndex(item->node) == kImageCdDrive)
                return QApplication::style()->standardIcon(QStyle::SP_DriveCDIcon);
            return icons_.icon(QFileIconProvider::Drive);
        case ShellNodeKind::Folder:
            return icons_.icon(QFileIconProvider::Folder);
        case ShellNodeKind::File:
            return icons_.icon(QFileIconProvider::File);
        }
    }
    return {};
}

QModelIndex FolderTreeModel::RootIndex() const { return createIndex(0, 0, root_.get()); }

const ShellNode* FolderTreeModel::NodeAt(const QModelIndex& index) const
{
    Item* item = ItemAt(index);
    return item ? &item->node : nullptr;
}

QModelIndex FolderTreeModel::IndexOf(const ShellNode& node)
{
    const std::vector<std::string>& rootItems = root_->node.Items();
    const std::vector<std::string>& items = node.Items();
    if (items.size() < rootItems.size() || !std::equal(rootItems.begin(), rootItems.end(), items.begin()))
        return {};
    Item* item = root_.get();
    QModelIndex index = RootIndex();
    for (std::size_t depth = rootItems.size(); depth < items.size(); ++depth) {
        Fill(item, index);
        Item* next = nullptr;
        for (const auto& child : item->children)
            if (child->node.Items().back() == items[depth]) {
                next = child.get();
                break;
            }
        if (!next)
            return {};
        item = next;
        index = createIndex(item->row, 0, item);
    }
    return index;
}
