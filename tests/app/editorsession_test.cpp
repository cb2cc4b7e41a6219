#include "app/editorsession.h"
#include "model/constructionbuilder.h"
#include "model/undo.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace qorv;

namespace {

// A session with one open document holding two points, A referenced from outside.
struct SessionWithPoints {
    EditorSession session;
    Element* a = nullptr;
    Element* b = nullptr;
    Element* held = nullptr;
    int token = 0;
    SessionWithPoints() {
        session.documents().add(std::make_unique<Document>(), 1);
        session.setCurrentDocument(0);
        ConstructionBuilder build(session.document());
        a = build.point(1, 2);
        b = build.point(3, 4);
        held = a;
        token = session.heldReferences().add(
            [this](const HeldReferences::Visit& visit) { visit(held); });
        session.document().modified = 0;
        session.noteChanges();
    }
    ~SessionWithPoints() { session.heldReferences().remove(token); }
};

} // namespace

// Undo installs new objects: a held reference follows its element by id. A deletion only frees:
// the reference to what went is dropped. Each tells once, after the operation; an operation
// that did nothing tells nothing.
TEST(EditorSession, ReplacingElementsFindsOrDropsTheHeldReferencesAndTellsOnce) {
    SessionWithPoints s;
    QSignalSpy before(&s.session, &EditorSession::elementsAboutToBeReplaced);
    QSignalSpy after(&s.session, &EditorSession::elementsReplaced);
    s.session.recordUndoStep();
    s.a->value[0] = 50;
    EXPECT_TRUE(
        s.session.replaceElements(ElementsChange::Undo, [](Document& d) { return qorv::undo(d); }));
    ASSERT_EQ(s.held, s.session.document().head);
    EXPECT_EQ(s.held->value[0], 1);
    EXPECT_EQ(before.count(), 1);
    ASSERT_EQ(after.count(), 1);
    EXPECT_EQ(after.at(0).at(0).value<ElementsChange>(), ElementsChange::Undo);

    Document& doc = s.session.document();
    doc.selectNone();
    s.held->selected = 1;
    s.session.replaceElements(ElementsChange::Delete, [](Document& d) {
        d.deleteSelected();
        return true;
    });
    EXPECT_EQ(s.held, nullptr);
    EXPECT_EQ(doc.elementCount(), 1);
    EXPECT_EQ(after.count(), 2);

    EXPECT_FALSE(s.session.replaceElements(ElementsChange::Redo, [](Document&) { return false; }));
    EXPECT_EQ(after.count(), 2);
}

// What a tool changed without the session is told after the drawing: the deletion (with the
// references to what went dropped), the modified flag and the selection, each once.
TEST(EditorSession, NoteChangesTellsWhatChangedSinceLastTold) {
    SessionWithPoints s;
    QSignalSpy replaced(&s.session, &EditorSession::elementsReplaced);
    QSignalSpy modified(&s.session, &EditorSession::modifiedChanged);
    QSignalSpy selection(&s.session, &EditorSession::selectionChanged);
    s.session.noteChanges();
    EXPECT_EQ(replaced.count() + modified.count() + selection.count(), 0);

    Document& doc = s.session.document();
    doc.modified = 1;
    s.b->selected = 1;
    s.session.noteChanges();
    EXPECT_EQ(modified.count(), 1);
    EXPECT_EQ(selection.count(), 1);
    EXPECT_EQ(replaced.count(), 0);

    // Another element selected instead, the count unchanged.
    s.b->selected = 0;
    s.a->selected = 1;
    s.session.noteChanges();
    EXPECT_EQ(selection.count(), 2);

    doc.deleteSelected(); // as the delete tool does
    s.session.noteChanges();
    ASSERT_EQ(replaced.count(), 1);
    EXPECT_EQ(replaced.at(0).at(0).value<ElementsChange>(), ElementsChange::Noticed);
    EXPECT_EQ(s.held, nullptr);
    s.session.noteChanges();
    EXPECT_EQ(replaced.count(), 1);
    EXPECT_EQ(modified.count(), 1);
}
