#include "TBRPreviewInterface.h"

namespace {
TBRStandardPreviewInterface::WindowFactory& standardFactory()
{
    static TBRStandardPreviewInterface::WindowFactory factory;
    return factory;
}
} // namespace

QWidget* TBRPreviewInterface::Present(TBRPrinter*)
{
    return nullptr;
}

QWidget* TBRPreviewInterface::PresentModal(TBRPrinter*)
{
    return nullptr;
}

void TBRStandardPreviewInterface::SetStandardPreviewWindow(WindowFactory factory)
{
    standardFactory() = std::move(factory);
}

QWidget* TBRStandardPreviewInterface::Present(TBRPrinter* printer)
{
    return standardFactory() ? standardFactory()(printer, false) : nullptr;
}

QWidget* TBRStandardPreviewInterface::PresentModal(TBRPrinter* printer)
{
    return standardFactory() ? standardFactory()(printer, true) : nullptr;
}

TBRPreviewInterfaceClass& PreviewInterfaceClass()
{
    static TBRPreviewInterfaceClass cls = [] { return std::make_unique<TBRStandardPreviewInterface>(); };
    return cls;
}
