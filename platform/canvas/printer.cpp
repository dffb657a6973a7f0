// Printing to PDF through Cairo's PDF surface.
#include "platform/canvas/printer.h"

#include "platform/canvas/graphics_errors.h"
#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cstdio>

namespace plat {

namespace {

constexpr double PointsPerPixel = 72.0 / 96.0;

} // namespace

TPrinter::TPrinter(int pageWidth, int pageHeight, int deviceScale)
    : FPageWidth(std::clamp(pageWidth, 1, 4000)), FPageHeight(std::clamp(pageHeight, 1, 4000)),
      FScale(std::clamp(deviceScale, 1, 4)),
      FPage(std::make_unique<TPixelSurface>(FPageWidth * FScale, FPageHeight * FScale, 32)),
      FDC(std::make_unique<TSurfaceDC>(*FPage, FScale)), FCanvas(std::make_unique<TCanvas>(FDC.get()))
{
    ClearPage();
}

TPrinter::~TPrinter()
{
    if (FPdf != nullptr)
        Abort();
}

void TPrinter::ClearPage()
{
    FDC->SelectClipRgn(nullptr);
    FDC->FillRect({0, 0, FPageWidth, FPageHeight}, CreateSolidBrush(0xFFFFFF));
}

void TPrinter::BeginDoc(const std::string& pdfPath)
{
    if (FPdf != nullptr)
        Abort();
    cairo_surface_t* pdf = cairo_pdf_surface_create(pdfPath.c_str(), FPageWidth * PointsPerPixel,
        FPageHeight * PointsPerPixel);
    if (cairo_surface_status(pdf) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(pdf);
        throw EOutOfResources("Cannot create the print file " + pdfPath);
    }
    FPdf = pdf;
    FPath = pdfPath;
    FPageNumber = 1;
    ClearPage();
}

void TPrinter::BeginDoc()
{
    if (FFileName.empty())
        throw EOutOfResources("No print file is named");
    BeginDoc(FFileName);
}

void TPrinter::EmitPage()
{
    cairo_t* cr = cairo_create(FPdf);
    cairo_scale(cr, PointsPerPixel / FScale, PointsPerPixel / FScale);
    cairo_set_source_surface(cr, FPage->BeginDrawing(), 0, 0);
    cairo_paint(cr);
    FPage->EndDrawing();
    cairo_destroy(cr);
    cairo_surface_show_page(FPdf);
}

void TPrinter::NewPage()
{
    if (FPdf == nullptr)
        return;
    EmitPage();
    ++FPageNumber;
    ClearPage();
}

void TPrinter::EndDoc()
{
    if (FPdf == nullptr)
        return;
    EmitPage();
    cairo_surface_finish(FPdf);
    const bool failed = cairo_surface_status(FPdf) != CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(FPdf);
    FPdf = nullptr;
    FPageNumber = 0;
    if (failed)
        throw EOutOfResources("Cannot write the print file " + FPath);
}

void TPrinter::Abort()
{
    if (FPdf == nullptr)
        return;
    cairo_surface_finish(FPdf);
    cairo_surface_destroy(FPdf);
    FPdf = nullptr;
    FPageNumber = 0;
    std::remove(FPath.c_str());
}

} // namespace plat
