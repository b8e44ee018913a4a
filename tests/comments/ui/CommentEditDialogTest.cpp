#include "comments/PathComments.h"
#include "comments/ui/CommentEditDialog.h"
#include "platform/ui/UserPrompt.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvo;

namespace {
void Touch(const std::string& path) {
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    QVERIFY(file.open(QIODevice::WriteOnly));
}
} // namespace

class CommentEditDialogTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { CommentEditDialog::SetTestRunner(nullptr); }

    void anEntryNamedLikeTheDirectoryKeyIsRefusedWithAMessage() {
        QTemporaryDir dir;
        const std::string directory = QFile::encodeName(dir.path()).toStdString();
        const std::string odd = directory + "/:THIS_DIR:";
        Touch(odd);
        QVERIFY(SetComment(directory, "the directory's"));

        ScriptedPrompt prompt;
        bool edited = false;
        CommentEditDialog::SetTestRunner([&edited](CommentEditDialog& d) {
            edited = true;
            d.SetComment("the file's");
            return true;
        });
        QCOMPARE(CommentEditDialog::EditComment(odd, nullptr), std::string());
        QVERIFY(!edited);
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY(prompt.asked.front().contains("cannot have a comment"));
        QCOMPARE(GetComment(directory), std::string("the directory's"));

        // Any other file is edited as before.
        const std::string plain = directory + "/plain.txt";
        Touch(plain);
        QCOMPARE(CommentEditDialog::EditComment(plain, nullptr), std::string("the file's"));
        QVERIFY(edited);
    }
};

QTEST_MAIN(CommentEditDialogTest)
#include "CommentEditDialogTest.moc"
