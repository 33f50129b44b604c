// A Qt generic plugin that lets a test drive an unchanged program from
// outside: loaded with QT_QPA_GENERIC_PLUGINS=standoraprobe, it watches the
// folder named by STANDORA_PROBE_DIR for a file "cmd" ("SEQ\nclick NAME" or
// "SEQ\ndump"), carries the command out as a user would (a mouse click on
// the named control), and answers in "out.json" with the state of every
// named widget: texts, enabled and checked states, combo entries and the
// rows of list views. Test tooling only; never installed.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGenericPlugin>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QSaveFile>
#include <QTest>
#include <QTimer>

namespace {

QWidget* Named(const QString& name) {
  for (QWidget* w : QApplication::allWidgets()) {
    if (w->objectName() == name) return w;
  }
  return nullptr;
}

QJsonObject Describe(QWidget* w) {
  QJsonObject o;
  o["enabled"] = w->isEnabled();
  o["visible"] = w->isVisible();
  if (auto* l = qobject_cast<QLabel*>(w)) o["text"] = l->text();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    o["text"] = b->text();
    o["checked"] = b->isChecked();
  }
  if (auto* c = qobject_cast<QComboBox*>(w)) {
    QJsonArray items;
    for (int i = 0; i < c->count(); ++i) items.append(c->itemText(i));
    o["items"] = items;
    o["current"] = c->currentIndex();
  }
  if (auto* t = qobject_cast<QAbstractItemView*>(w);
      t != nullptr && t->model() != nullptr) {
    const QAbstractItemModel* m = t->model();
    QJsonArray rows;
    for (int r = 0; r < m->rowCount(); ++r) {
      QJsonArray cells;
      for (int c = 0; c < m->columnCount(); ++c) {
        cells.append(m->index(r, c).data().toString());
      }
      rows.append(cells);
    }
    o["rows"] = rows;
  }
  if (w->isWindow()) o["title"] = w->windowTitle();
  return o;
}

class Probe : public QObject {
 public:
  explicit Probe(const QString& dir) : dir_(dir) {
    connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
    timer_.start(50);
  }

 private:
  void Poll() {
    QFile cmd(dir_.filePath("cmd"));
    if (!cmd.open(QIODevice::ReadOnly)) return;
    const QStringList lines = QString::fromUtf8(cmd.readAll()).split('\n');
    cmd.close();
    cmd.remove();
    QJsonObject answer;
    answer["seq"] = lines.value(0);
    const QStringList words = lines.value(1).split(' ');
    if (words.value(0) == "click") {
      QWidget* w = Named(words.value(1));
      answer["done"] = w != nullptr;
      if (w != nullptr) QTest::mouseClick(w, Qt::LeftButton);
    }
    QJsonObject widgets;
    for (QWidget* w : QApplication::allWidgets()) {
      if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_")) {
        widgets[w->objectName()] = Describe(w);
      }
    }
    answer["widgets"] = widgets;
    QSaveFile out(dir_.filePath("out.json"));
    if (out.open(QIODevice::WriteOnly)) {
      out.write(QJsonDocument(answer).toJson());
      out.commit();
    }
  }

  QDir dir_;
  QTimer timer_;
};

}  // namespace

class ProbePlugin : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "probe.json")

 public:
  QObject* create(const QString& key, const QString&) override {
    if (key.toLower() != "standoraprobe") return nullptr;
    const QString dir = qEnvironmentVariable("STANDORA_PROBE_DIR");
    return dir.isEmpty() ? nullptr : new Probe(dir);
  }
};

#include "probe_plugin.moc"
