#!/usr/bin/env bash
# Installs the Debian packages Vocabrium needs to build, run and test,
# asking apt only for what is missing. Runs as root or through sudo.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-multimedia-dev qt6-charts-dev libqt6opengl6-dev libgl-dev qt6-translations-l10n
    libhunspell-dev hunspell-en-us wordnet-base zlib1g-dev
    # Telling a dictionary's language from its words, and base forms of
    # words in each language the site offers.
    hunspell-fr hunspell-de-de hunspell-it hunspell-es
    # Anki packages: the zip archive, the SQLite collection, zstd compression
    # (the Debian package's run-time dependencies follow from the libraries).
    libzip-dev libsqlite3-dev libzstd-dev
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    # espeak-ng records the shipped words at build time; the program speaks
    # every other word through its library.
    espeak-ng libespeak-ng-dev fonts-dejavu-core
    # Offline translation: Mueller's English-Russian dictionary and the
    # FreeDict pairs into Russian of the languages the dictionary site
    # offers. Debian packages no Spanish-Russian pair: Spanish goes through
    # Spanish-English and Mueller's English-Russian, and so do the Italian
    # words the small Italian-Russian dictionary lacks.
    mueller7-dict dict-freedict-eng-rus dict-freedict-deu-rus
    dict-freedict-fra-rus dict-freedict-ita-rus dict-freedict-spa-eng
    dict-freedict-ita-eng
    desktop-file-utils appstream dpkg-dev file
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Please run as root to install: ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
# Other people's apt runs on a shared machine: wait for the lock instead of failing.
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq -o DPkg::Lock::Timeout=900 \
    --no-install-recommends "${missing[@]}"
