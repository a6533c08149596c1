#pragma once

// The Qt Designer plugin of the component library: one collection that puts
// every library widget on Designer's widget box under "Quintor Components".
//
// Widgets that Designer creates are in the design state (csDesigning): they
// store their properties and nothing more; a name-history combo box on a
// Designer form reads and writes no store. A program builds the same form
// with uic's setupUi and then calls LoadComponents(form), which runs each
// component's Loaded as at run time.
//
// Non-visual components (TJStorage, TJMostRecentlyUsedList, JAction and the
// undo buffers) cannot stand on a Designer form: they are made in code.

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

class TQuintorDesignerWidgets : public QObject, public QDesignerCustomWidgetCollectionInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
  Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

 public:
  explicit TQuintorDesignerWidgets(QObject *Parent = nullptr);

  QList<QDesignerCustomWidgetInterface *> customWidgets() const override { return FWidgets; }

 private:
  QList<QDesignerCustomWidgetInterface *> FWidgets;
};
