// The tracking list's model over the monitoring state's rows: between two
// batches a view keeps seeing the rows it was told of, each at its place (a
// row trimmed since shows as empty), and after a batch it sees exactly the
// state's rows, whether the batch was told as removals and insertions or,
// for a full log, as new contents in place.
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include "hello.h"
#include "tracking_model.h"

namespace {

// One hello numbered `n` in its authentication text.
void Receive(standora::MonitorState& state, int n) {
  const auto bytes =
      testing_support::MakeHello(16, 100, 1, "n" + std::to_string(n));
  state.HandleDatagram(bytes.data(), bytes.size(), 0x0100007F, "t");
}

QString Auth(const TrackingModel& m, int row) {
  return m.index(row, 7).data().toString();
}

}  // namespace

class TrackingModelTest : public QObject {
  Q_OBJECT

 private slots:
  void batches_data();
  void batches();
};

void TrackingModelTest::batches_data() {
  QTest::addColumn<int>("before");  // rows the view was told of
  QTest::addColumn<int>("burst");   // hellos received since
  QTest::addColumn<bool>("inPlace");
  QTest::newRow("growing") << 10 << 5 << true;
  QTest::newRow("reaching the bound") << 98 << 10 << true;
  QTest::newRow("full, in place") << 101 << 7 << true;
  QTest::newRow("full, told as removals") << 101 << 7 << false;
  QTest::newRow("full, more than a log") << 101 << 250 << true;
  QTest::newRow("full, more than a log, removals") << 101 << 250 << false;
}

void TrackingModelTest::batches() {
  QFETCH(int, before);
  QFETCH(int, burst);
  QFETCH(bool, inPlace);
  standora::MonitorState state;
  TrackingModel model(state);
  QAbstractItemModelTester tester(
      &model, QAbstractItemModelTester::FailureReportingMode::QtTest);
  int n = 0;
  for (; n < before; ++n) {
    const std::size_t size = state.rows().size();
    Receive(state, n);
    if (state.rows().size() <= size) model.RowRemovedAtTop();
    model.RowAppended();
  }
  model.Publish(true);
  QCOMPARE(model.rowCount(), before);

  const QStringList seen = [&] {
    QStringList s;
    for (int r = 0; r < before; ++r) s << Auth(model, r);
    return s;
  }();
  int trimmed = 0;
  for (int i = 0; i < burst; ++i, ++n) {
    const std::size_t size = state.rows().size();
    Receive(state, n);
    if (state.rows().size() <= size) {
      model.RowRemovedAtTop();
      ++trimmed;
    }
    model.RowAppended();
  }
  // Not yet told: the same rows in the same places, the trimmed ones empty.
  QCOMPARE(model.rowCount(), before);
  for (int r = 0; r < before; ++r) {
    QCOMPARE(Auth(model, r), r < trimmed ? QString() : seen[r]);
  }

  QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
  QVERIFY(model.Publish(inPlace));
  const auto& rows = state.rows();
  QCOMPARE(model.rowCount(), static_cast<int>(rows.size()));
  for (int r = 0; r < model.rowCount(); ++r) {
    QCOMPARE(
        Auth(model, r),
        QString::fromStdString(rows[static_cast<std::size_t>(r)].subItems[6]));
  }
  // In place only when the log was full and stays so.
  const bool told_in_place = before == 101 && inPlace;
  QCOMPARE(changed.count(), told_in_place ? 1 : 0);
  QCOMPARE(removed.count(), trimmed > 0 && !told_in_place ? 1 : 0);
  QVERIFY(!model.Publish(inPlace));  // nothing left to tell
}

QTEST_GUILESS_MAIN(TrackingModelTest)
#include "tracking_model_test.moc"
