# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in a build of the "package" preset (scripts/package does
# both). Only what the install rules of the application put under the prefix goes in; the
# preset leaves the tests and benchmarks out of the build altogether.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessel)
set(CPACK_PACKAGE_VENDOR "The Tessel developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Tessel developers <${TESSEL_SUPPORT_EMAIL}>")
set(CPACK_PACKAGE_HOMEPAGE_URL ${TESSEL_WEBSITE_URL})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debian policy: no debugging symbols in the shipped binary, and directories 0755 whatever the
# packager's umask. (The "package" preset compiles without -g at all: nothing would keep the
# debugging information, and the linker's build ID, which stays, would still hash the source and
# build paths it names, so that two checkouts at different paths built different binaries.)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
# The libraries the binary links come from the binary itself (dpkg-shlibdeps). What Qt and
# libcanberra load at run time no linker records:
# - qt6-wayland: Qt's Wayland platform, which Tessel itself picks on compositors that share
#   their clipboard (sway, KDE); without it Qt would refuse to start there. (X11's comes with
#   libqt6gui6, the SVG icon engine with libqt6svg6, the keyboard data with libxkbcommon0.)
# - recommended: the colour emoji font the emoji picker is drawn with (without it, emoji fall
#   back to whatever font has them, often in black and white); Qt's extra image formats,
#   for images copied as TIFF; Qt's translations, for Qt's own texts (a text field's menu) in
#   the interface language; libcanberra's PulseAudio driver, which plays the paste sound
#   through the desktop's sound server rather than straight to ALSA.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-wayland)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-noto-color-emoji, qt6-image-formats-plugins, qt6-translations-l10n, libcanberra-pulse")
# The synopsis, then the extended description line by line ("." is an empty line).
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "clipboard history with emoji and symbol pickers")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tessel lives in the system tray and records every text and image you copy.
It keeps the history on disk and brings it back in a small popup at the mouse
pointer on a global shortcut (Super+Shift+V); choosing an entry pastes it into
the application you were working in.
.
Favourites have their own tab and survive clearing the history. The popup also
has emoji, kaomoji and symbol pickers, searchable in English, Portuguese and
Spanish. Content marked by password managers is never recorded, and Tessel
makes no network connections.
.
It runs on X11 and on Wayland: natively on compositors that share their
clipboard (sway and other wlroots compositors, KDE Plasma), through XWayland
on GNOME.")

include(CPack)
