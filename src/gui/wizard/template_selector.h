// Trovecart - the installed templates as thumbnails beside a large preview of the chosen one.
#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class TProgramData;

class TTemplateSelector : public QWidget {
    Q_OBJECT
public:
    explicit TTemplateSelector(const TProgramData& programData, QWidget* parent = nullptr);

    // Hosts hide the theme filter and use 130 x 93 cells, so they always show all templates.
    void SetHostLayout();
    // Fills the template list for the current theme entry; hosts call it whenever they are shown.
    void ThemeListChange();
    // The selected template's folder name, or empty.
    QString SelectedTemplate() const;
    // Selects the template of that name, if listed.
    void SelectTemplate(const QString& name);

    QComboBox* ThemeList;
    QListWidget* ListViewThemplates;
    QLabel* ImagePreview;
    // The front end whose picture the preview shows now; empty for the placeholder.
    const QString& PreviewPath() const { return previewPath_; }

private:
    void ListViewThemplatesSelectItem(QListWidgetItem* item);
    void ShowPlaceholder();

    const TProgramData& programData_;
    QString previewPath_;
};
