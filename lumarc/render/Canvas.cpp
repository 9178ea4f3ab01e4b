#include "Canvas.h"

#include <algorithm>

Canvas::Canvas(int32_t width, int32_t height)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)),
      m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), rgb(0, 0, 0))
{
}

RgbaPicture Canvas::picture() const
{
    RgbaPicture picture;
    picture.width = static_cast<uint32_t>(m_width);
    picture.height = static_cast<uint32_t>(m_height);
    picture.rgba.reserve(m_pixels.size() * 4);
    for (Rgb colour : m_pixels)
    {
        picture.rgba.push_back(static_cast<uint8_t>(redOf(colour)));
        picture.rgba.push_back(static_cast<uint8_t>(greenOf(colour)));
        picture.rgba.push_back(static_cast<uint8_t>(blueOf(colour)));
        picture.rgba.push_back(0xFF);
    }
    return picture;
}
