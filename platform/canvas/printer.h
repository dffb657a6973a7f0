// The printer: a document of pages drawn through a canvas at 96 pixels per
// inch and written as a PDF file, each page as a picture rendered at the
// device scale.
#pragma once

#include "platform/canvas/canvas.h"

#include <memory>
#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace plat {

class TPixelSurface;
class TSurfaceDC;

class TPrinter {
public:
    // A4 at 96 pixels per inch unless told otherwise.
    explicit TPrinter(int pageWidth = 794, int pageHeight = 1123, int deviceScale = 3);
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // Starts the document; EOutOfResources when the file cannot be made.
    void BeginDoc(const std::string& pdfPath);
    // Ends the page drawn so far and starts a blank one.
    void NewPage();
    // Writes the last page and closes the file.
    void EndDoc();
    // Drops the document; the file is removed.
    void Abort();

    bool Printing() const { return FPdf != nullptr; }
    int PageNumber() const { return FPageNumber; }
    int PageWidth() const { return FPageWidth; }
    int PageHeight() const { return FPageHeight; }
    // The canvas of the current page (drawing outside BeginDoc/EndDoc is lost).
    TCanvas* Canvas() { return FCanvas.get(); }

private:
    void ClearPage();
    void EmitPage();

    int FPageWidth;
    int FPageHeight;
    int FScale;
    std::string FPath;
    cairo_surface_t* FPdf = nullptr;
    int FPageNumber = 0;
    std::unique_ptr<TPixelSurface> FPage;
    std::unique_ptr<TSurfaceDC> FDC;
    std::unique_ptr<TCanvas> FCanvas;
};

} // namespace plat
