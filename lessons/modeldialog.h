#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QListWidget;
class QPushButton;
class Settings;

/*! Chooses the learning model in force: one of the built-in step lists or
    a user model composed from the four exercise kinds. */
class ModelDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ModelDialog(Settings* settings, QWidget* parent = nullptr);

    /*! The built-in models: name and step list, in the order of the box. */
    static QList<QPair<QString, QList<QVariant>>> builtInModels();

public slots:
    /*! Returns 1 when the model in force is shorter than when the dialog opened. */
    int exec() override;
    void done(int result) override;
    void loadModel();
    void add();
    void remove();
    void moveUp();
    void moveDown();
    void clear();

private:
    Settings* settings;
    void createWidgets();
    void createConnections();
    void createLayout();
    void store();
    void rebuildList();
    void moveCurrent(int offset);

    QStringList kindNames;
    int lengthAtOpen = 0;
    QComboBox* modelBox = nullptr;
    QComboBox* kindBox = nullptr;
    QListWidget* exerciseList = nullptr;
    QPushButton* addButton = nullptr;
    QPushButton* removeButton = nullptr;
    QPushButton* upButton = nullptr;
    QPushButton* downButton = nullptr;
    QPushButton* clearButton = nullptr;
    QPushButton* closeButton = nullptr;
};
