// The drawing's files against a failing disk: the FRA save and the DXF import's scratch file
// refuse what the disk cannot hold, leave no partial file and keep what was there.
#include <gtest/gtest.h>

#include "base/files.h"
#include "drawing/import/dxfimport.h"
#include "drawing/save.h"
#include "testsupport.h"

using namespace vornelle;

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

Drawing square() {
    Drawing d;
    for (auto [x, y] : {std::pair{"0", "0"}, {"10", "0"}, {"10", "10"}, {"0", "10"}})
        d.appendRecord(x, y, "1");
    d.finishLoad();
    return d;
}

TEST(SaveFaults, FullDiskAndTooLittleRoomLeaveNoFraFile) {
    test::TempDir dir;
    DrawingShared shared;
    ASSERT_TRUE(saveDrawing(square(), dir.file("avant"), shared).ok);
    const std::string kept = test::slurp(dir.file("avant.fra"));
    {
        test::FaultyDisk disk;
        disk.free = 50;  // the square needs 14 + 4 records of at least 13 bytes
        SaveResult r = saveDrawing(square(), dir.file("piece"), shared);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(contains(r.message.text, "demanderait 1 Mo, il reste 0 Mo sur le disque."))
            << r.message.text;
        EXPECT_FALSE(fileExists(dir.file("piece.fra")));
        EXPECT_EQ(disk.written, 0u);
    }
    for (uint64_t after : {0ull, 20ull}) {
        test::FaultyDisk disk;
        disk.fullAfter = after;
        SaveResult r = saveDrawing(square(), dir.file("piece"), shared);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(contains(r.message.text, "plus de place sur le support")) << r.message.text;
        EXPECT_FALSE(fileExists(dir.file("piece.fra"))) << after;
    }
    {
        test::FaultyDisk disk;
        disk.lockedFolder = dir.path();
        SaveResult r = saveDrawing(square(), dir.file("piece"), shared);
        EXPECT_TRUE(contains(r.message.text, "permission refusée")) << r.message.text;
    }
    EXPECT_EQ(shared.lastSavedFra, dir.file("avant.fra"));
    EXPECT_EQ(test::slurp(dir.file("avant.fra")), kept);
    // The name is free for the next try.
    EXPECT_TRUE(saveDrawing(square(), dir.file("piece"), shared).ok);
}

TEST(SaveFaults, ScratchFileOfTheDxfImportIsSizedAndRemoved) {
    test::TempDir dir;
    const std::string dxf = std::string(SAMPLES_DIR) + "/dxf/gh-ezdxf__POLI-ALL210_12.dxf";
    Drawing d = square();
    {
        test::FaultyDisk disk;
        disk.free = 100'000;  // the file is 25 kB: its scratch file may need six times that
        ImportResult r = importDxf(dxf, dir.path(), d);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(contains(r.message.text, "tempX demanderait jusqu'à 1 Mo, il reste 0 Mo sur le disque."))
            << r.message.text;
        EXPECT_EQ(disk.written, 0u);
    }
    {
        test::FaultyDisk disk;
        disk.fullAfter = 1000;
        ImportResult r = importDxf(dxf, dir.path(), d);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(contains(r.message.text, "plus de place sur le support")) << r.message.text;
        EXPECT_FALSE(fileExists(dir.file("tempX")));
    }
    EXPECT_EQ(d.List1.toVector(), square().List1.toVector());
    ImportResult ok = importDxf(dxf, dir.path(), d);
    ASSERT_TRUE(ok.ok) << ok.message.text;
    EXPECT_GT(d.size(), 4u);
}

}  // namespace
