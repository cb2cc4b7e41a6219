#include "app/tform1.h"
#include "model/document.h"

#include <QStatusBar>
#include <gtest/gtest.h>

TEST(TForm1, OpensWithDrawingAreaAndStatusBarOnAnEmptyDocument) {
    qorv::TForm1 w;
    w.show();
    ASSERT_NE(w.drawingArea(), nullptr);
    EXPECT_NE(w.statusBar(), nullptr);
    EXPECT_EQ(w.document().head, nullptr);
    EXPECT_FALSE(w.drawingArea()->canvas().isNull());
    EXPECT_EQ(w.drawingArea()->canvas().size(), w.drawingArea()->size());
}
