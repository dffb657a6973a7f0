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

// What a print job draws on: pages of one size in pixels at 96 per inch,
// each drawn through a canvas, between the start and the end of the job.
// TPrinter writes PDF; tests give printers of their own.
class TCustomPrinter {
public:
    virtual ~TCustomPrinter() = default;

    virtual int PageWidth() const = 0;
    virtual int PageHeight() const = 0;
    // The canvas of the current page.
    virtual TCanvas* Canvas() = 0;
    virtual bool Printing() const = 0;
    // Starts the job on a blank first page.
    virtual void BeginDoc() = 0;
    // Ends the page drawn so far and starts a blank one.
    virtual void NewPage() = 0;
    // Finishes the job.
    virtual void EndDoc() = 0;
    // Drops the job and whatever it produced so far.
    virtual void Abort() = 0;
};

class TPrinter : public TCustomPrinter {
public:
    // A4 at 96 pixels per inch unless told otherwise.
    explicit TPrinter(int pageWidth = 794, int pageHeight = 1123, int deviceScale = 3);
    ~TPrinter() override;
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // Starts the document; EOutOfResources when the file cannot be made.
    void BeginDoc(const std::string& pdfPath);
    // Starts the document in the file named by SetFileName; EOutOfResources
    // without a name or when the file cannot be made.
    void BeginDoc() override;
    // Ends the page drawn so far and starts a blank one.
    void NewPage() override;
    // Writes the last page and closes the file.
    void EndDoc() override;
    // Drops the document; the file is removed.
    void Abort() override;

    // The PDF file of the next BeginDoc without a path.
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& value) { FFileName = value; }

    bool Printing() const override { return FPdf != nullptr; }
    int PageNumber() const { return FPageNumber; }
    int PageWidth() const override { return FPageWidth; }
    int PageHeight() const override { return FPageHeight; }
    // The canvas of the current page (drawing outside BeginDoc/EndDoc is lost).
    TCanvas* Canvas() override { return FCanvas.get(); }

private:
    void ClearPage();
    void EmitPage();

    int FPageWidth;
    int FPageHeight;
    int FScale;
    std::string FFileName; // for BeginDoc without a path
    std::string FPath;     // the file of the running document
    cairo_surface_t* FPdf = nullptr;
    int FPageNumber = 0;
    std::unique_ptr<TPixelSurface> FPage;
    std::unique_ptr<TSurfaceDC> FDC;
    std::unique_ptr<TCanvas> FCanvas;
};

} // namespace plat
