#!/usr/bin/env bash
# Draws Tessarel's skin and writes its settings file zq.ini, all into this
# folder. The output is committed, so building never needs ImageMagick; run
# this again after changing it. The same ImageMagick and font give the same
# bytes every time (no dates are written into the files).
#
# Needs: ImageMagick (convert), iconv, and the font of fonts-wqy-microhei.
#
# Widget bitmaps are 24-bit BMP3 (what LoadImageW reads); the two main-window
# images are PNG. zq.ini is ANSI text in code page 936 with CR LF line ends.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$here"

font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
[[ -f $font ]] || { echo "draw_skin: $font is missing (fonts-wqy-microhei)" >&2; exit 1; }

# Colours of the product.
deep='#1f3b5c'       # title bar
panel='#274b73'      # left panel
accent='#2f6db5'     # buttons, dialog title bands
accent_dark='#1d416d'
page='#eef2f7'       # main area
map_back='#e4eaf2'   # behind the cluster map and the logo
ink='#1f3b5c'

# Writes the last argument as a BMP3 file; the arguments before it draw it.
to_bmp() {
  local out=${*: -1}
  convert "${@:1:$#-1}" -alpha off -type TrueColor "BMP3:$out"
}
to_png() {
  local out=${*: -1}
  convert "${@:1:$#-1}" -alpha off -strip -define png:exclude-chunks=date,time "PNG24:$out"
}

# A rounded text button on a background colour.
# text_button FILE WIDTH HEIGHT BACKGROUND FILL BORDER TEXT_COLOUR OFFSET LABEL
text_button() {
  local file=$1 w=$2 h=$3 back=$4 fill=$5 border=$6 text=$7 offset=$8 label=$9
  to_bmp -size "${w}x${h}" "xc:$back" \
    -fill "$fill" -stroke "$border" -strokewidth 1 \
    -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) 6,6" \
    -stroke none -fill 'rgba(255,255,255,0.16)' \
    -draw "roundrectangle 2,2 $((w - 3)),$((h / 2 - 1)) 5,5" \
    -font "$font" -pointsize 15 -fill "$text" -gravity center \
    -annotate "+$offset+$offset" "$label" "$file"
}

# The four states of a text button: normal, pressed, hover, disabled.
text_button_states() {
  local stem=$1 w=$2 h=$3 back=$4 label=$5
  text_button "${stem}_0.bmp" "$w" "$h" "$back" "$accent" "$accent_dark" white 0 "$label"
  text_button "${stem}_1.bmp" "$w" "$h" "$back" '#24528a' '#16335a' white 1 "$label"
  text_button "${stem}_2.bmp" "$w" "$h" "$back" '#4b8ad6' "$accent_dark" white 0 "$label"
  text_button "${stem}_3.bmp" "$w" "$h" "$back" '#aeb7c2' '#8d97a3' '#e6e9ee' 0 "$label"
}

# A small glyph button: glyph_button FILE WIDTH HEIGHT BACKGROUND GLYPH_COLOUR DRAW
glyph_button() {
  to_bmp -size "${2}x${3}" "xc:$4" -stroke "$5" -strokewidth 2 -fill none -draw "$6" "$1"
}

minimize_glyph='line 12,13 22,13'
close_glyph='line 12,7 22,17 line 22,7 12,17'
dialog_close_glyph='line 9,6 19,16 line 19,6 9,16'

# --- main window buttons (130 x 34 on the left panel) ---
text_button_states analyze_start 130 34 "$panel" '分析'
text_button_states analyze_stop 130 34 "$panel" '停止分析'
text_button_states defragment_start 130 34 "$panel" '碎片整理'
text_button_states defragment_stop 130 34 "$panel" '停止整理'
text_button_states advanced 130 34 "$panel" '高级设置'

# --- minimise and close (34 x 24 on the title bar) ---
glyph_button minimize_0.bmp 34 24 "$deep" white "$minimize_glyph"
glyph_button minimize_1.bmp 34 24 '#142a44' white "$minimize_glyph"
glyph_button minimize_2.bmp 34 24 '#2f5687' white "$minimize_glyph"
glyph_button minimize_3.bmp 34 24 "$deep" '#6f8299' "$minimize_glyph"
glyph_button close_0.bmp 34 24 "$deep" white "$close_glyph"
glyph_button close_1.bmp 34 24 '#a3362e' white "$close_glyph"
glyph_button close_2.bmp 34 24 '#c8453b' white "$close_glyph"
glyph_button close_3.bmp 34 24 "$deep" '#6f8299' "$close_glyph"

# --- check boxes and row images of the volume list (16 x 16 on white) ---
to_bmp -size 16x16 xc:white -fill white -stroke '#7d8a99' -draw 'rectangle 1,1 14,14' \
  check_box_unselected.bmp
to_bmp -size 16x16 xc:white -fill "$accent" -stroke "$accent_dark" -draw 'rectangle 1,1 14,14' \
  -fill none -stroke white -strokewidth 2 -draw 'polyline 4,8 7,11 12,5' check_box_selected.bmp
to_bmp -size 16x16 xc:white -stroke none \
  -fill "$accent" -draw 'rectangle 1,8 6,13' \
  -fill '#2ea39a' -draw 'rectangle 9,8 14,13' \
  -fill '#e08a2e' -draw 'rectangle 5,2 10,7' registry.bmp
to_bmp -size 16x16 xc:white -fill '#8a96a5' -stroke '#5d6875' -draw 'roundrectangle 1,4 14,12 2,2' \
  -stroke none -fill '#c9d1db' -draw 'rectangle 3,6 11,7' \
  -fill '#3cba54' -draw 'rectangle 11,9 12,10' volume.bmp

# --- the main window's background (804 x 632) and logo ---
to_png -size 804x632 "xc:$page" \
  -fill "$deep" -draw 'rectangle 0,0 803,41' \
  -fill "$panel" -draw 'rectangle 0,42 183,631' \
  -fill "$map_back" -stroke '#d3dce7' -draw 'circle 494,327 494,41' \
  -stroke '#9fb0c4' -fill white -draw 'rectangle 35,76 146,204' -draw 'rectangle 35,376 146,587' \
  -stroke none -font "$font" \
  -fill white -pointsize 20 -annotate +14+29 'Tessarel' \
  -fill '#c7d6e8' -pointsize 14 -annotate +112+28 '磁盘碎片整理' \
  -fill white -pointsize 13 -annotate +37+70 '分区与注册表' -annotate +37+370 '区块内容' \
  -fill "$accent" -pointsize 12 -annotate +720+59 '关于' -annotate +764+59 '帮助' \
  -fill '#dfe7f1' -stroke "$accent" -draw 'roundrectangle 719,78 797,105 5,5' \
  -stroke none -fill "$accent" -pointsize 13 -annotate +732+97 '选项设置' \
  background.png
to_png -size 256x256 "xc:$map_back" \
  -fill "$accent" -stroke "$accent_dark" -strokewidth 4 -draw 'circle 128,110 128,14' \
  -stroke none -fill 'rgba(255,255,255,0.18)' -draw 'ellipse 128,70 70,40 0,360' \
  -fill white -font "$font" -pointsize 110 -gravity north -annotate +0+40 'T' \
  -fill "$ink" -pointsize 30 -annotate +0+212 'Tessarel' \
  logo.png

# --- skinned dialogs ---
# About box (400 x 230): links are drawn by the program at (24, 157) and (24, 180).
to_bmp -size 400x230 xc:white -fill "$accent" -draw 'rectangle 0,0 399,55' \
  -fill '#dfe7f1' -draw 'rectangle 0,140 399,141' \
  -font "$font" -fill white -pointsize 20 -annotate +24+36 '关于 Tessarel' \
  -fill "$ink" -pointsize 14 -annotate +24+90 'Tessarel 磁盘碎片整理' \
  -pointsize 12 -annotate +24+116 '分析、整理并优化固定磁盘，清理注册表中的无效项。' \
  about_bg.bmp
glyph_button dialog_close_0.bmp 28 22 "$accent" white "$dialog_close_glyph"
glyph_button dialog_close_1.bmp 28 22 '#24528a' white "$dialog_close_glyph"
glyph_button dialog_close_2.bmp 28 22 '#4b8ad6' white "$dialog_close_glyph"

# Defragmentation menu (260 x 160): close, plain, optimised.
to_bmp -size 260x160 xc:white -fill "$accent" -draw 'rectangle 0,0 259,39' \
  -font "$font" -fill white -pointsize 16 -annotate +18+26 '选择整理方式' \
  defrag_menu_bg.bmp
text_button_states menu_plain 210 34 white '普通整理'
text_button_states menu_optimized 210 34 white '整理并优化'
rm -f menu_plain_3.bmp menu_optimized_3.bmp

# --- zq.ini ---
# Dialog items, numbered from 0 in file order:
#   0-1    about box: background, close button
#   2-18   not used by any dialog; placeholders keep the later numbers
#   19-22  defragmentation menu: background, close, plain, optimised
# Block colours: one line per colour code (red green blue name), the last one
# marks the clicked block.
{
  for button in analyze_start analyze_stop defragment_start defragment_stop advanced minimize close; do
    for state in 0 1 2 3; do
      echo "${button}_${state} ${button}_${state}.bmp"
    done
  done
  echo "check_box_unselected_img check_box_unselected.bmp"
  echo "check_box_selected_img check_box_selected.bmp"
  echo "registry_img registry.bmp"
  echo "volume_img volume.bmp"
  echo "logo_img logo.png"
  echo "biscuit_view_background_img background.png"
  echo "biscuit_visual_effect 250 250 250 空闲空间"
  echo "biscuit_visual_effect 98 190 110 已整理"
  echo "biscuit_visual_effect 150 110 200 系统文件"
  echo "biscuit_visual_effect 240 190 70 无需移动"
  echo "biscuit_visual_effect 70 130 210 连续文件"
  echo "biscuit_visual_effect 220 70 60 碎片文件"
  echo "biscuit_visual_effect 0 200 200 选中区块"
  echo "_image_dlg_item shap_ib about_bg.bmp 20 20"
  echo "_image_dlg_item push_button_wib 362 17 dialog_close_0.bmp dialog_close_1.bmp dialog_close_2.bmp NULL"
  for _ in $(seq 2 18); do
    echo "_image_dlg_item edit_wib 0 0 0 0"
  done
  echo "_image_dlg_item shap_ib defrag_menu_bg.bmp 20 20"
  echo "_image_dlg_item push_button_wib 222 9 dialog_close_0.bmp dialog_close_1.bmp dialog_close_2.bmp NULL"
  echo "_image_dlg_item push_button_wib 25 56 menu_plain_0.bmp menu_plain_1.bmp menu_plain_2.bmp NULL"
  echo "_image_dlg_item push_button_wib 25 104 menu_optimized_0.bmp menu_optimized_1.bmp menu_optimized_2.bmp NULL"
} | sed 's/$/\r/' | iconv -f UTF-8 -t GBK >zq.ini

echo "draw_skin: skin written to $here"
