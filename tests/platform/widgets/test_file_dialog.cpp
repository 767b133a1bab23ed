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

#include "picture/open_picture.h"
#include "picture/save_picture.h"
#include "platform/widgets/file_dialog.h"
#include "platform/widgets/qt_services.h"

using namespace kalidor;

namespace {

const std::string kOpen = kOpenFilter;

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

// Answers the next modal file dialog as a user would, once it is open: the
// file type chosen first, then the name typed.
void answerDialog(const QString& name, int type = 0)
{
    QTimer::singleShot(0, [name, type] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(d);
        if (name.isEmpty()) {
            d->reject();
            return;
        }
        auto* combo = d->findChild<QComboBox*>("fileTypeCombo");
        combo->setCurrentIndex(type);
        emit combo->activated(type);
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
        for (const char* name : {"PHOTO.JPG", "icon.Ico", "sketch", "notes.txt", "tile.png"}) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const auto d = createFileDialog(FileDialogKind::Open, kOpen, nullptr);
        QCOMPARE(d->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(offered(*d), (QStringList{"Picture (*.bmp;*.ico;*.gif;*.jpg)", "Bitmap (*.bmp;*.ico)",
                                           "Giff-files (*.gif)", "Jpeg-files (*.jpg)", "All files (*.*)",
                                           "PNG image (*.png)"}));
        QCOMPARE(d->findChild<QLineEdit*>("fileNameEdit")->text(), QString());
        d->setDirectory(dir.path());
        d->show();
        QTRY_COMPARE(listed(*d), (QStringList{"PHOTO.JPG", "icon.Ico"}));
        d->selectNameFilter(d->nameFilters().at(3));
        QTRY_COMPARE(listed(*d), QStringList{"PHOTO.JPG"});
        d->selectNameFilter(d->nameFilters().at(4));
        QTRY_COMPARE(listed(*d), (QStringList{"PHOTO.JPG", "icon.Ico", "notes.txt", "sketch", "tile.png"}));
        d->selectNameFilter(d->nameFilters().at(5));  // a PNG just saved is found without "All files"
        QTRY_COMPARE(listed(*d), QStringList{"tile.png"});
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
        std::optional<FileChoice> chosen = desktop.ShowSave(kSaveFilter);
        QVERIFY(chosen);
        QCOMPARE(chosen->name, dir.filePath("drawing").toStdString());
        QCOMPARE(chosen->filter, 0);
        // The type chosen comes back with the name, which is kept as typed.
        answerDialog(dir.filePath("drawing.bmp"), 1);
        chosen = desktop.ShowSave(kSaveFilter);
        QVERIFY(chosen);
        QCOMPARE(chosen->name, dir.filePath("drawing.bmp").toStdString());
        QCOMPARE(chosen->filter, 1);
        answerDialog("");
        QCOMPARE(desktop.ShowOpen(kOpen), std::optional<std::string>());
    }
};

QTEST_MAIN(FileDialogTest)
#include "test_file_dialog.moc"
