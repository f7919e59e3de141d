#!/usr/bin/env bash
# The kav-theme tool from the outside: export, dump, pack and unpack round trips, and the
# errors that must name what went wrong. Usage: bash test_kav_theme.sh BUILD_DIR SOURCE_DIR
set -u

build_dir=${1:?build folder}
tool="$build_dir/tools/kav-theme/kav-theme"
if [[ ! -x $tool ]]; then
    echo "FAIL: $tool is not built (cmake --build $build_dir --target kav-theme)"
    exit 1
fi

. "$(dirname "${BASH_SOURCE[0]}")/command_checks.sh"
# has_line FILE REGEX
has_line() {
    if grep -qE -- "$2" "$1"; then ok; else bad "$1 has no line matching /$2/: $(head -c 600 "$1")"; fi
}
lines_of() { wc -l <"$1" | tr -d ' '; }
same_number() {
    if [[ $1 == "$2" ]]; then ok; else bad "$3: $1, expected $2"; fi
}
same_bytes() {
    if cmp -s "$1" "$2"; then ok; else bad "$1 and $2 differ"; fi
}
le32() { # a 32-bit little-endian integer as bytes
    local v=$(($1 & 0xFFFFFFFF))
    printf "\\x$(printf %02x $((v & 255)))\\x$(printf %02x $((v >> 8 & 255)))\\x$(printf %02x $((v >> 16 & 255)))\\x$(printf %02x $((v >> 24 & 255)))"
}
record() { # NAME KIND DATA_OFFSET DATA_SIZE NEXT
    printf '%s' "$1"
    head -c $((64 - ${#1})) /dev/zero
    printf "\\x$(printf %02x "$2")"
    le32 "$3"; le32 "$4"; le32 "$5"
}

# --- help -------------------------------------------------------------------------------------
run 0 --help
has out.txt "export LOOK FILE.kav"
has out.txt "unpack FILE.kav DIR"
run 0 help pack
has out.txt "values.txt"
run 0 dump --help
has out.txt "Usage: kav-theme dump FILE.kav"
run 2 help nosuchcommand
has err.txt 'unknown command "nosuchcommand"'
run 2
has err.txt "no command given"
run 2 frobnicate
has err.txt 'unknown command "frobnicate"'
run 2 export MacOS
has err.txt "export takes 2 arguments, got 1"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build_dir/CMakeCache.txt")
run 0 --version
same_number "$(cat out.txt)" "kav-theme $version" "kav-theme --version"
if [[ -n $version ]]; then ok; else bad "no project version in $build_dir/CMakeCache.txt"; fi

# --- export and dump, every look --------------------------------------------------------------
for look in MacOS WinXP DeepBlue Protein BlueGlass; do
    run 0 export "$look" "$look.kav"
    run 0 dump "$look.kav"
    same_number "$(lines_of out.txt)" 42 "entries of $look"
    same_number "$(grep -c '^file ' out.txt)" 19 "pictures of $look"
    same_number "$(grep -c '^boolean ' out.txt)" 2 "Booleans of $look"
    same_number "$(grep -c '^integer ' out.txt)" 21 "integers and colours of $look"
    same_number "$(grep -c 'not a bitmap' out.txt)" 0 "unreadable pictures of $look"
done
run 0 dump MacOS.kav
has_line out.txt '^file +ButtonImage +[0-9]+ bytes, bitmap 252x23$'
has_line out.txt '^integer +FormMinWidthInt +130$'
has_line out.txt '^integer +TitleBarButtonRightOffsetInt +-2$'
has_line out.txt '^integer +FormBorderColor +8355711 \(BBGGRR 7F7F7F\)$'
has_line out.txt '^boolean +ButtonTransparentBool +true$'
run 0 dump WinXP.kav
has_line out.txt '^integer +FormBorderColor +13118464 \(BBGGRR C82C00\)$'
has_line out.txt '^boolean +ButtonTransparentBool +false$'
has_line out.txt '^file +ButtonImage +[0-9]+ bytes, bitmap 54x21$'
run 0 dump DeepBlue.kav
has_line out.txt '^file +ScrollButtonImage +[0-9]+ bytes, bitmap 72x17$'

# Look names in any case.
run 0 export deepblue lower.kav
same_bytes lower.kav DeepBlue.kav

# --- unpack and pack --------------------------------------------------------------------------
for look in MacOS BlueGlass; do
    run 0 unpack "$look.kav" "$look.d"
    same_number "$(ls "$look.d"/*.bmp | wc -l | tr -d ' ')" 19 "pictures unpacked from $look"
    same_number "$(lines_of "$look.d/values.txt")" 23 "values unpacked from $look"
    run 0 pack "$look.d" "$look.repacked.kav"
    same_bytes "$look.repacked.kav" "$look.kav"
done
has MacOS.d/values.txt "FormBackgroundColor=E7E7E7"
has MacOS.d/values.txt "TitleBarButtonRightOffsetInt=-2"
has MacOS.d/values.txt "ButtonTransparentBool=true"

# Values in every accepted spelling, comments and blank lines.
mkdir edited
cp MacOS.d/ButtonImage.bmp edited/buttonimage.bmp
cat >edited/values.txt <<'VALUES'
# hand-made
formminwidthint = 200

FormBackgroundColor=FF0000
FormBorderColor=255
ControlBorderColor=0x80000005
VALUES
printf 'ButtonTransparentBool=0\nTitleBarButtonTransparentBool=TRUE\nTitleBarButtonRightOffsetInt=-7\n' >>edited/values.txt
echo "not a picture" >edited/README
run 0 pack edited edited.kav
run 0 dump edited.kav
same_number "$(lines_of out.txt)" 8 "entries of the hand-made theme"
has_line out.txt '^file +ButtonImage +'
has_line out.txt '^integer +FormMinWidthInt +200$'
has_line out.txt '^integer +FormBackgroundColor +16711680 \(BBGGRR FF0000\)$'
has_line out.txt '^integer +FormBorderColor +255 \(BBGGRR 0000FF\)$'
has_line out.txt '^integer +ControlBorderColor +-2147483643 \(BBGGRR 80000005\)$'
has_line out.txt '^integer +TitleBarButtonRightOffsetInt +-7$'
has_line out.txt '^boolean +ButtonTransparentBool +false$'
has_line out.txt '^boolean +TitleBarButtonTransparentBool +true$'
run 0 unpack edited.kav edited.again
has edited.again/values.txt "ControlBorderColor=0x80000005"
has edited.again/values.txt "FormBorderColor=0000FF"
run 0 pack edited.again edited.again.kav
same_bytes edited.again.kav edited.kav

# --- errors -----------------------------------------------------------------------------------
# A look the tool does not have is a usage error, like a missing argument; nothing is written.
run 2 export Aqua aqua.kav
has err.txt 'unknown look "Aqua"'
has err.txt 'Usage: kav-theme export LOOK FILE.kav'
run 2 export FromThemeFile file.kav
has err.txt 'unknown look "FromThemeFile"'
if [[ -e aqua.kav || -e file.kav ]]; then bad "export of an unknown look wrote a file"; else ok; fi
run 1 export MacOS no/such/folder/out.kav
has err.txt "no/such/folder/out.kav"

run 1 dump missing.kav
has err.txt 'cannot open "missing.kav"'
run 1 unpack missing.kav out.d
has err.txt 'cannot open "missing.kav"'

# A file cut inside its last Boolean record: the 41 entries before it are listed, then the damage.
size=$(stat -c %s MacOS.kav)
head -c $((size - 100)) MacOS.kav >cut.kav
run 1 dump cut.kav
same_number "$(lines_of out.txt)" 41 "entries listed before the damage"
has err.txt '"cut.kav" is damaged after 41 entries'
has err.txt "does not lie whole inside the file"
run 1 unpack cut.kav cut.d
has err.txt '"cut.kav" is damaged'
if [[ -e cut.d ]]; then bad "unpack of a damaged file made cut.d"; else ok; fi

# A chain that loops back to its first record.
{ printf 'Corvane_TB\0\0'; le32 24; le32 1; le32 24; record FormMinWidthInt 1 101 4 24; le32 5; } >loop.kav
run 1 dump loop.kav
same_number "$(lines_of out.txt)" 1 "entries listed before the loop"
has err.txt "loops back"

# Files that are no theme file at all are named as such, without offsets, and nothing is read.
head -c 3000 "$tool" >program.kav
{ printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\0'; le32 -1780234810; head -c 400 /dev/zero; } >picture.kav
printf 'hello\n' >text.kav
cp MacOS.kav renamed.kav
printf 'X' | dd of=renamed.kav conv=notrunc status=none
for file in program.kav picture.kav text.kav renamed.kav; do
    run 1 dump "$file"
    has err.txt "\"$file\" is not a theme file"
    same_number "$(lines_of out.txt)" 0 "entries listed from $file"
    if grep -q offset err.txt; then bad "$file reported with offsets: $(cat err.txt)"; else ok; fi
    run 1 unpack "$file" "$file.d"
    has err.txt "\"$file\" is not a theme file"
    if [[ -e $file.d ]]; then bad "unpack of $file made $file.d"; else ok; fi
done

# A folder without pictures makes no theme: refused, and nothing written.
mkdir empty
run 1 pack empty empty.kav
has err.txt '"empty" holds no pictures'
has err.txt 'nothing written'
mkdir nopictures
printf 'FormMinWidthInt=200\n' >nopictures/values.txt
echo "not a picture" >nopictures/README
cp MacOS.d/ButtonImage.bmp nopictures/ButtonImage.png
run 1 pack nopictures nopictures.kav
has err.txt '"nopictures" holds no pictures'
cp MacOS.kav kept.kav
run 1 pack empty kept.kav
same_bytes kept.kav MacOS.kav
for file in empty.kav nopictures.kav; do
    if [[ -e $file ]]; then bad "a refused pack wrote $file"; else ok; fi
done

mkdir badvalues
printf 'FormMinWidthInt=1\n\nNoSuchKey=3\n' >badvalues/values.txt
run 1 pack badvalues bad.kav
has err.txt 'values.txt: line 3: unknown key name "NoSuchKey"'
printf 'FormMinWidthInt=wide\n' >badvalues/values.txt
run 1 pack badvalues bad.kav
has err.txt 'line 1: FormMinWidthInt needs a decimal integer, not "wide"'
printf 'FormMinWidthInt=99999999999\n' >badvalues/values.txt
run 1 pack badvalues bad.kav
has err.txt 'line 1: FormMinWidthInt needs a decimal integer'
printf 'ButtonTransparentBool=yes\n' >badvalues/values.txt
run 1 pack badvalues bad.kav
has err.txt 'line 1: ButtonTransparentBool needs true, false, 1 or 0, not "yes"'
printf 'FormBorderColor=GG0000\n' >badvalues/values.txt
run 1 pack badvalues bad.kav
has err.txt 'line 1: FormBorderColor needs a colour'
printf 'FormMinWidthInt=1\nformminwidthint=2\n' >badvalues/values.txt
run 1 pack badvalues bad.kav
has err.txt 'line 2: FormMinWidthInt is given a second time (first on line 1)'
printf 'ButtonImage=button.bmp\n' >badvalues/values.txt
run 1 pack badvalues bad.kav
has err.txt 'line 1: ButtonImage is a picture; put it in the folder as ButtonImage.bmp'
printf 'just words\n' >badvalues/values.txt
run 1 pack badvalues bad.kav
has err.txt 'line 1: expected NAME=value'
if [[ -e bad.kav ]]; then bad "a failed pack wrote bad.kav"; else ok; fi

mkdir badpictures
cp MacOS.d/ButtonImage.bmp badpictures/Wallpaper.bmp
run 1 pack badpictures bad.kav
has err.txt '"Wallpaper" is no theme key name'
rm badpictures/Wallpaper.bmp
cp MacOS.d/ButtonImage.bmp badpictures/FormMinWidthInt.bmp
run 1 pack badpictures bad.kav
has err.txt 'FormMinWidthInt is no picture; give it in values.txt'
rm badpictures/FormMinWidthInt.bmp
echo "plain text" >badpictures/ButtonImage.bmp
run 1 pack badpictures bad.kav
has err.txt 'ButtonImage.bmp is not a readable bitmap file: not a bitmap file'
# A bitmap whose header makes no picture (bit depth 7) would only be refused when loaded.
head -c 28 MacOS.d/ButtonImage.bmp >badpictures/ButtonImage.bmp
printf '\x07\x00' >>badpictures/ButtonImage.bmp
tail -c +31 MacOS.d/ButtonImage.bmp >>badpictures/ButtonImage.bmp
run 1 pack badpictures bad.kav
has err.txt 'ButtonImage.bmp is not a readable bitmap file: the bitmap header cannot be read'
has err.txt '7 bits a pixel'

run 1 pack no-such-folder bad.kav
has err.txt '"no-such-folder" is no folder'

# Entries that are no theme key, or of the wrong kind, are skipped with a warning.
{
    printf 'Corvane_TB\0\0'; le32 24; le32 1; le32 24
    record Author 3 101 3 104; printf 'Ann'
    record FormMinWidthInt 1 181 4 185; le32 77
    record ButtonTransparentBool 1 262 4 266; le32 1
    record FormMinWidthInt 1 343 4 347; le32 88
    record "" 2 0 0 0
} >odd.kav
run 0 dump odd.kav
has_line out.txt '^string +Author +3 bytes$'
run 0 unpack odd.kav odd.d
has err.txt 'skipped the string entry "Author": no theme key has that name'
has err.txt 'skipped the integer entry "ButtonTransparentBool": that key is held in a boolean entry'
has err.txt 'skipped a second entry "FormMinWidthInt"'
same_number "$(cat odd.d/values.txt)" "FormMinWidthInt=77" "values unpacked from odd.kav"

# --- unpack never writes through a symbolic link ---------------------------------------------
# Files outside the folders, and copies to tell whether they changed.
mkdir outside
printf 'keep me\n' >outside/picture.txt
printf 'keep me too\n' >outside/values.txt
cp -r outside outside.before
# unchanged_outside WHAT: nothing in outside/ was written, made or removed.
unchanged_outside() {
    if diff -r outside outside.before >/dev/null; then ok; else bad "$1 changed outside/: $(diff -r outside outside.before)"; fi
}
# no_part_files DIR: no temporary file was left behind.
no_part_files() {
    if [[ -z $(find "$1" -name '*.part') ]]; then ok; else bad "temporary files left in $1: $(find "$1" -name '*.part')"; fi
}

mkdir linked
ln -s "$PWD/outside/picture.txt" linked/ButtonImage.bmp
ln -s "$PWD/outside/values.txt" linked/values.txt
run 1 unpack MacOS.kav linked
has err.txt 'linked/ButtonImage.bmp is a symbolic link; unpack does not write through links (nothing written)'
unchanged_outside "unpack into a folder of links"
same_number "$(ls -A linked | wc -l | tr -d ' ')" 2 "files in linked/ after the refused unpack"

mkdir dangling
ln -s "$PWD/outside/new.bmp" dangling/CheckBoxImage.bmp
run 1 unpack MacOS.kav dangling
has err.txt 'dangling/CheckBoxImage.bmp is a symbolic link'
unchanged_outside "unpack into a folder with a dangling link"

mkdir onlyvalues
ln -s "$PWD/outside/values.txt" onlyvalues/values.txt
run 1 unpack MacOS.kav onlyvalues
has err.txt 'onlyvalues/values.txt is a symbolic link'
unchanged_outside "unpack with values.txt a link"
same_number "$(ls -A onlyvalues | wc -l | tr -d ' ')" 1 "files in onlyvalues/: no picture written before the refusal"

ln -s "$PWD/outside" linkdir
for target in linkdir linkdir/ ./linkdir; do
    run 1 unpack MacOS.kav "$target"
    has err.txt "\"$target\" is a symbolic link; unpack writes only into a folder given by its own path"
done
ln -s "$PWD/outside/missing.d" danglingdir
run 1 unpack MacOS.kav danglingdir
has err.txt '"danglingdir" is a symbolic link'
unchanged_outside "unpack into a linked folder"
if [[ -e outside/missing.d ]]; then bad "unpack made the folder a dangling link points to"; else ok; fi

# A folder or a FIFO where a file is to go is refused too, and is never opened (no wait).
mkdir odd fifo.d
mkdir odd/ButtonImage.bmp
run 1 unpack MacOS.kav odd
has err.txt 'odd/ButtonImage.bmp exists and is no regular file (nothing written)'
mkfifo fifo.d/values.txt
timeout 20 "$tool" unpack MacOS.kav fifo.d >out.txt 2>err.txt
same_number $? 1 "exit status of unpack into a folder with a FIFO in the way"
has err.txt 'fifo.d/values.txt exists and is no regular file (nothing written)'
same_number "$(ls -A fifo.d | wc -l | tr -d ' ')" 1 "files in fifo.d/ after the refused unpack"
printf 'not a folder\n' >plainfile
run 1 unpack MacOS.kav plainfile
has err.txt '"plainfile" exists and is no folder'

# Existing regular files are replaced, not written into: a hard link to a file elsewhere keeps
# that file as it was, and no temporary file is left.
mkdir again
ln outside/picture.txt again/ButtonImage.bmp
run 0 unpack MacOS.kav again
run 0 unpack MacOS.kav again
unchanged_outside "unpack over a hard link"
same_bytes again/ButtonImage.bmp MacOS.d/ButtonImage.bmp
no_part_files again
run 0 pack again again.kav
same_bytes again.kav MacOS.kav

# --- theme files of any size and kind ---------------------------------------------------------
# A theme file is refused from its size, before its bytes are read: a valid small theme padded
# (sparse) to 1 GB. The time limit only stops a hang; the size check reads 24 bytes.
cp edited.kav huge.kav
truncate -s 1G huge.kav
timeout 60 "$tool" dump huge.kav >out.txt 2>err.txt
same_number $? 1 "exit status of dump of a 1 GB theme file"
has err.txt 'the file has 1073741824 bytes, more than the 68157440 bytes (65 MB) a theme file may have'
# Anything but a theme file is told as such whatever its size.
truncate -s 1G huge.bin
timeout 60 "$tool" dump huge.bin >out.txt 2>err.txt
same_number $? 1 "exit status of dump of 1 GB of zeros"
has err.txt '"huge.bin" is not a theme file'
rm -f huge.kav huge.bin
# FIFOs and devices are not read at all: a FIFO nobody writes to would keep the load waiting.
mkfifo pipe.kav
for file in pipe.kav /dev/zero .; do
    timeout 20 "$tool" dump "$file" >out.txt 2>err.txt
    same_number $? 1 "exit status of dump $file"
    has err.txt "\"$file\" is not a regular file"
done

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
