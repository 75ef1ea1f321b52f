#include "files/FolderMemory.h"

#include <QTest>

class FolderMemoryTest : public QObject {
    Q_OBJECT
private slots:
    void folder_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("fileTitle");
        QTest::addColumn<QString>("folder");
        QTest::newRow("drive root") << "C:\\a.hex"
                                    << "a.hex"
                                    << "C:";
        QTest::newRow("drive folder") << "C:\\eeprom\\dump.hex"
                                      << "dump.hex"
                                      << "C:\\eeprom";
        QTest::newRow("linux folder") << "/home/user/dump.HEX"
                                      << "dump.HEX"
                                      << "/home/user";
        QTest::newRow("linux root") << "/a.hex"
                                    << "a.hex"
                                    << "";
        QTest::newRow("name earlier in the path") << "/data/a"
                                                  << "a"
                                                  << "/data";
        QTest::newRow("folder named like the file") << "/hex/x.hex/x.hex"
                                                    << "x.hex"
                                                    << "/hex/x.hex";
        QTest::newRow("name only") << "a.hex"
                                   << "a.hex"
                                   << "";
        QTest::newRow("title not at the end") << "/data/ba"
                                              << "a"
                                              << "/data";
        QTest::newRow("no title") << "/data/dump.hex"
                                  << ""
                                  << "/data";
    }
    void folder()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, fileTitle);
        QFETCH(QString, folder);
        QCOMPARE(folderOfChosenFile(fileName, fileTitle), folder);
    }
};

QTEST_GUILESS_MAIN(FolderMemoryTest)
#include "tst_folder_memory.moc"
