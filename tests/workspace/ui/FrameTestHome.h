#pragma once

#include "assist/ui/TipDialog.h"
#include "platform/ui/UserPrompt.h"
#include "workspace/AppState.h"

#include <QObject>
#include <QTemporaryDir>
#include <memory>

// What every test of the main frame starts from: a home and a data
// directory of its own, questions answered by script, no tip at start and
// the state of an earlier test forgotten.
class FrameTestHome : public QObject {
protected:
    std::unique_ptr<QTemporaryDir> home_, data_;
    std::unique_ptr<orvo::ScriptedPrompt> prompt_;

    QString Home(const QString& name) const { return home_->path() + "/" + name; }
    QString Data(const QString& name) const { return data_->path() + "/" + name; }

    void StartFresh() {
        home_ = std::make_unique<QTemporaryDir>();
        data_ = std::make_unique<QTemporaryDir>();
        qputenv("HOME", home_->path().toUtf8());
        qputenv("ORVO_HOME", data_->path().toUtf8());
        prompt_ = std::make_unique<orvo::ScriptedPrompt>();
        orvo::TipDialog::SetTestRunner([](orvo::TipDialog&) {});
        orvo::GetAppState() = orvo::AppState{};
    }
    void Finish() {
        orvo::TipDialog::SetTestRunner(nullptr);
        prompt_.reset();
    }
};
