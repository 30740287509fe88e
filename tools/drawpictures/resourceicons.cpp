// The phone framework's named icons ("<name>.g"), compiled into the toolkit.
#include "glyphs.h"
#include "pictures.h"

Pictures resourceIcons()
{
    struct Named
    {
        const char* name;
        QColor colour;
        Glyph symbol;
    };
    const Named icons[] = {
        {"phone_std", ink::green(), glyph::phone},
        {"messaging_std", ink::amber(), glyph::messaging},
        {"browser_std", ink::blue(), glyph::browser},
        {"camera_std", ink::graphite(), glyph::camera},
        {"calendar_std", ink::red(), glyph::calendar},
        {"contacts_std", ink::teal(), glyph::contacts},
        {"music_std", ink::magenta(), glyph::music},
        {"video_std", ink::red().darker(115), glyph::video},
        {"settings_std", ink::slate(), glyph::settings},
        {"games_std", ink::purple(), glyph::games},
        {"clock_std", ink::navy(), glyph::clock},
        {"calculator_std", ink::graphite().lighter(130), glyph::calculator},
        {"notes_std", ink::gold().darker(112), glyph::notes},
        {"files_std", ink::amber().darker(110), glyph::files},
        {"java_std", ink::rust(), glyph::java},
        {"email_std", ink::steel(), glyph::email},
        {"radio_std", ink::teal().darker(115), glyph::radio},
        {"gallery_std", QColor(0x3b, 0x9a, 0xd8), glyph::gallery},
        {"alarm_std", QColor(0xe0, 0x6a, 0x2e), glyph::alarm},
        {"generic_std", ink::steel(), glyph::generic},
    };
    Pictures out;
    for (const Named& icon : icons)
        out.append({QStringLiteral("ezx/icons/") + QLatin1String(icon.name) + QStringLiteral(".png"),
                    tileIcon(24, icon.colour, icon.symbol)});
    return out;
}
