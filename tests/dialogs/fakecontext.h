// A stand-in for the program around a dialog: every request of the context answered quietly
// (no document change drawn, no message shown, every question cancelled). Tests derive from it
// and answer what they look at.
#pragma once

#include "dialogs/dialogcontext.h"
#include "view/renderer.h"

namespace qorv::test {

struct FakeContext : DialogContext {
    Document doc;
    ProgramOptions options;
    CreationOptions creation;
    Renderer drawing;

    Document& document() override { return doc; }
    const CreationOptions& creationOptions() override { return creation; }
    ProgramOptions& programOptions() override { return options; }
    void recordUndoStep() override {}
    void changed() override {}
    void revertStep() override {}
    QStringList documentNames() override { return {QStringLiteral("doc")}; }
    int currentDocumentIndex() override { return 0; }
    Document& documentAt(int) override { return doc; }

    Renderer& renderer() override { return drawing; }
    QSize drawingAreaSize() override { return {640, 480}; }
    QSize screenSize() override { return {1280, 1024}; }
    double planeSize() override { return 4000; }
    void setPlaneSize(double) override {}
    bool showHidden() override { return false; }
    void redraw() override {}
    void viewChanged() override {}

    void warn(const QString&, const QString& = QString()) override {}
    Answer ask(const QString&) override { return Answer::Cancel; }
    std::optional<QString> askText(const QString&, const QString&) override { return std::nullopt; }
    bool chooseFont(FontRecord&) override { return false; }
    bool chooseColour(Color&) override { return false; }
    QString openFileName(const QString&, const QString&, const QStringList&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QStringList&,
                         const QString&) override {
        return {};
    }
    void run(QDialog&) override {}
};

} // namespace qorv::test
