#include "PngFile.h"

#include <wincodec.h>

#include <cstdio>
#include <cstring>

#include "core/ComHandles.h"
#include "core/WinHandles.h"

namespace qorhost {

namespace {

// The step's name and the code it failed with, for the caller's message.
bool Failed(HRESULT hr, const char* step, std::string& error) {
    if (SUCCEEDED(hr)) return false;
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    error = std::string(step) + " failed with " + code;
    return true;
}

bool Factory(qor::ComPtr<IWICImagingFactory>& factory, std::string& error) {
    return !Failed(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    factory.put_void()),
                   "creating the imaging factory", error);
}

} // namespace

BgrImage CaptureWindow(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    BgrImage image;
    image.width = r.right - r.left;
    image.height = r.bottom - r.top;
    if (image.width <= 0 || image.height <= 0) return {};
    image.stride = (size_t(image.width) * 3 + 3) & ~size_t(3); // DIB rows end on four bytes
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = image.width;
    bi.bmiHeader.biHeight = -image.height; // top row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    qor::WindowDc screen(nullptr);
    qor::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    void* bits = nullptr;
    qor::UniqueBitmap bitmap(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap || !bits) return {};
    {
        qor::SelectedObject selected(memory.get(), bitmap.get());
        if (!BitBlt(memory.get(), 0, 0, image.width, image.height, screen.get(), r.left, r.top, SRCCOPY)) return {};
        GdiFlush();
    }
    const auto* first = static_cast<const uint8_t*>(bits);
    image.bytes.assign(first, first + image.stride * size_t(image.height));
    return image;
}

std::vector<uint8_t> EncodePng(const BgrImage& image, std::string& error) {
    if (image.width <= 0 || image.height <= 0 || image.stride < size_t(image.width) * 3 ||
        image.bytes.size() < image.stride * size_t(image.height)) {
        error = "no pixels to encode";
        return {};
    }
    qor::ComApartment apartment;
    qor::ComPtr<IWICImagingFactory> factory;
    qor::ComPtr<IStream> stream;
    qor::ComPtr<IWICBitmapEncoder> encoder;
    qor::ComPtr<IWICBitmapFrameEncode> frame;
    qor::ComPtr<IPropertyBag2> options;
    if (!Factory(factory, error) ||
        Failed(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), "creating a memory stream", error) ||
        Failed(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()), "creating the PNG encoder",
               error) ||
        Failed(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache), "starting the encoder", error) ||
        Failed(encoder->CreateNewFrame(frame.put(), options.put()), "adding a frame", error) ||
        Failed(frame->Initialize(options.get()), "starting the frame", error) ||
        Failed(frame->SetSize(UINT(image.width), UINT(image.height)), "sizing the frame", error))
        return {};
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (Failed(frame->SetPixelFormat(&format), "choosing the pixel format", error)) return {};
    if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) {
        error = "the PNG encoder does not take 24-bit BGR pixels";
        return {};
    }
    if (Failed(frame->WritePixels(UINT(image.height), UINT(image.stride), UINT(image.stride * size_t(image.height)),
                                  const_cast<BYTE*>(image.bytes.data())),
               "writing the pixels", error) ||
        Failed(frame->Commit(), "finishing the frame", error) || Failed(encoder->Commit(), "finishing the file", error))
        return {};
    STATSTG stat{};
    if (Failed(stream->Stat(&stat, STATFLAG_NONAME), "measuring the file", error)) return {};
    std::vector<uint8_t> file(static_cast<size_t>(stat.cbSize.QuadPart));
    ULONG read = 0;
    if (Failed(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr), "rewinding the file", error) ||
        Failed(stream->Read(file.data(), ULONG(file.size()), &read), "reading the file", error))
        return {};
    if (read != file.size()) {
        error = "the encoded file came back short";
        return {};
    }
    return file;
}

bool DecodePng(const std::vector<uint8_t>& file, BgrImage& image, std::string& error) {
    image = BgrImage{};
    qor::ComApartment apartment;
    qor::ComPtr<IWICImagingFactory> factory;
    qor::ComPtr<IWICStream> stream;
    qor::ComPtr<IWICBitmapDecoder> decoder;
    qor::ComPtr<IWICBitmapFrameDecode> frame;
    qor::ComPtr<IWICFormatConverter> converter;
    if (!Factory(factory, error) || Failed(factory->CreateStream(stream.put()), "creating a stream", error) ||
        Failed(stream->InitializeFromMemory(const_cast<BYTE*>(file.data()), DWORD(file.size())), "reading memory",
               error) ||
        Failed(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put()),
               "finding a decoder", error))
        return false;
    GUID container{};
    if (Failed(decoder->GetContainerFormat(&container), "reading the container format", error)) return false;
    if (!IsEqualGUID(container, GUID_ContainerFormatPng)) {
        error = "the file is not a PNG";
        return false;
    }
    UINT width = 0, height = 0;
    if (Failed(decoder->GetFrame(0, frame.put()), "reading the frame", error) ||
        Failed(frame->GetSize(&width, &height), "reading the size", error) ||
        Failed(factory->CreateFormatConverter(converter.put()), "creating a converter", error) ||
        Failed(converter->Initialize(frame.get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom),
               "converting to 24-bit BGR", error))
        return false;
    BgrImage decoded;
    decoded.width = int(width);
    decoded.height = int(height);
    decoded.stride = size_t(width) * 3;
    decoded.bytes.resize(decoded.stride * height);
    if (Failed(converter->CopyPixels(nullptr, UINT(decoded.stride), UINT(decoded.bytes.size()), decoded.bytes.data()),
               "copying the pixels", error))
        return false;
    image = std::move(decoded);
    return true;
}

} // namespace qorhost
