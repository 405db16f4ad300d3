// The drawing page on a fresh data folder, made anew as a test asks; see
// drawingpagefixture.h.
#include "drawingpagefixture.h"

#include <filesystem>

namespace vornelle::test {

DrawingPageFixture::DrawingPageFixture(bool shown) : shown_(shown) {
    std::filesystem::create_directories(dir.file("data/work"));
    newPage();
}

void DrawingPageFixture::newPage() {
    page.reset();
    page = std::make_unique<DessinPage>(
        dialogs, nav, pointer, [this] { return Outcome<std::string>(dir.file("data/")); },
        [this] { return Outcome<std::string>(dir.file("data/work/")); }, shared);
    page->formLoad();
    if (shown_) page->show();
}

}  // namespace vornelle::test
