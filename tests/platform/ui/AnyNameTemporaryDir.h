#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <filesystem>
#include <system_error>

namespace orvo::test {

// A QTemporaryDir that also goes when it holds names that are not UTF-8:
// Qt's own removal decodes the names and cannot find those files again, so
// every run would leave its tree behind.
class AnyNameTemporaryDir : public QTemporaryDir {
public:
    ~AnyNameTemporaryDir() {
        std::error_code ignored;
        std::filesystem::remove_all(QFile::encodeName(path()).toStdString(), ignored);
    }
};

} // namespace orvo::test
