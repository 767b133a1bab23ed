// The real file dialogs: the file types they offer and list, an empty name to
// start with, and what choosing and cancelling hand back.

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "picture/save_picture.h"
#include "platform/widgets/file_dialog.h"
#include "platform/widgets/qt_services.h"

using namespace kalidor;

namespace {

const std::string kOpen =
    "Picture (*.bmp;*.ico;*.gif;*.jpg)|*.bmp;*.ico;*.gif;*.jpg|Bitmap (*.bmp;*.ico)|*.bmp;*.ico|"
    "Giff-files (*.gif)|*.gif|Jpeg-files (*.jpg)|*.jpg|All files (*.*)|*.*";

QStringList offered(QFileDialog& d)
{
    QStringList items;
    auto* combo = d.findChild<QComboBox*>("fileTypeCombo");
    for (int i = 0; combo && i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

QStringList listed(QFileDialog& d)
{
    auto* view = d.findChild<QListView*>("listView");
    QStringList names;
    for (int i = 0; i < view->model()->rowCount(view->rootIndex()); ++i)
        names << view->model()->index(i, 0, view->rootIndex()).data().toString();
    names.sort();
    return names;
}

// Answers the next modal file dialog as a user would, once it is open.
void answerDialog(const QString& name)
{
    QTimer::singleShot(0, [name] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(d);
        if (name.isEmpty()) {
            d->reject();
            return;
        }
        auto* edit = d->findChild<QLineEdit*>("fileNameEdit");
        edit->setText(name);
        QTest::keyClick(edit, Qt::Key_Return);
    });
}

}  // namespace

class FileDialogTest : public QObject {
    Q_OBJECT
private slots:
    void openOffersThePictureTypesAndMatchesAnyCase()
    {
        QTemporaryDir dir;
        for (const char* name : {"PHOTO.JPG", "icon.Ico", "sketch", "notes.txt"}) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const auto d = createFileDialog(FileDialogKind::Open, kOpen, nullptr);
        QCOMPARE(d->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(offered(*d), (QStringList{"Picture (*.bmp;*.ico;*.gif;*.jpg)", "Bitmap (*.bmp;*.ico)",
                                           "Giff-files (*.gif)", "Jpeg-files (*.jpg)", "All files (*.*)"}));
        QCOMPARE(d->findChild<QLineEdit*>("fileNameEdit")->text(), QString());
        d->setDirectory(dir.path());
        d->show();
        QTRY_COMPARE(listed(*d), (QStringList{"PHOTO.JPG", "icon.Ico"}));
        d->selectNameFilter(d->nameFilters().at(3));
        QTRY_COMPARE(listed(*d), QStringList{"PHOTO.JPG"});
        d->selectNameFilter(d->nameFilters().at(4));
        QTRY_COMPARE(listed(*d), (QStringList{"PHOTO.JPG", "icon.Ico", "notes.txt", "sketch"}));
    }

    void saveOffersBitmapsFirstThenPngAndAddsNoExtension()
    {
        const auto d = createFileDialog(FileDialogKind::Save, kSaveFilter, nullptr);
        QCOMPARE(d->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(offered(*d), (QStringList{"Bitmap (*.bmp)", "PNG image (*.png)"}));
        QCOMPARE(d->findChild<QComboBox*>("fileTypeCombo")->currentIndex(), 0);
        QCOMPARE(d->defaultSuffix(), QString());

        QTemporaryDir dir;
        QtServices desktop(nullptr);
        answerDialog(dir.filePath("drawing"));
        QCOMPARE(desktop.ShowSave(kSaveFilter), std::optional<std::string>(dir.filePath("drawing").toStdString()));
        answerDialog("");
        QCOMPARE(desktop.ShowOpen(kOpen), std::optional<std::string>());
    }
};

QTEST_MAIN(FileDialogTest)
#include "test_file_dialog.moc"
