#pragma once
// The folder picker's tree: the namespace below one root node, filled a level at a time
// as the user opens folders.

#include "platform/ShellNamespace.h"

#include <QAbstractItemModel>
#include <QFileIconProvider>

#include <memory>
#include <optional>
#include <vector>

class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    FolderTreeModel(ShellNode root, bool includeFiles, QObject* parent = nullptr);
    ~FolderTreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    QModelIndex RootIndex() const;
    const ShellNode* NodeAt(const QModelIndex& index) const;
    // The index of a node below the root (or the root), filling the levels on the way;
    // invalid when the node is not in the tree (hidden, missing, or outside the root).
    QModelIndex IndexOf(const ShellNode& node);

private:
    struct Item;
    Item* ItemAt(const QModelIndex& index) const;
    void Fill(Item* item, const QModelIndex& index);

    std::unique_ptr<Item> root_;
    bool includeFiles_;
    QFileIconProvider icons_;
};
