#!/usr/bin/env bash
# Checks the client package's summary and tables with msitools, and that ClientSetup.exe
# carries exactly that package.
# Usage: check-package-tables.sh <package.msi> <x64|Intel> <product code> <upgrade code> [ClientSetup.exe]
set -uo pipefail
msi=$1 platform=$2 product_code=$3 upgrade_code=$4 setup_exe=${5:-}
failures=0

expect() {  # expect <what> <haystack> <needle>
  if grep -qxF -- "$3" <<<"$2"; then
    echo "ok: $1"
  else
    echo "FAILED: $1: no line '$3'"
    failures=$((failures + 1))
  fi
}

table() { msiinfo export "$msi" "$1" | tr -d '\r'; }

suminfo=$(msiinfo suminfo "$msi")
expect "platform and language" "$suminfo" "Template: $platform;1033"

properties=$(table Property)
expect "ProductName" "$properties" $'ProductName\tTolvern Orvella Client'
expect "ProductLanguage" "$properties" $'ProductLanguage\t1033'
expect "ProductVersion" "$properties" $'ProductVersion\t4.1.0.5'
expect "ProductCode" "$properties" $'ProductCode\t'"$product_code"
expect "UpgradeCode" "$properties" $'UpgradeCode\t'"$upgrade_code"
expect "Manufacturer" "$properties" $'Manufacturer\tTolvern'

files=$(table File | cut -f3)
expect "ClientConfig.exe is installed" "$files" "ClientConfig.exe"

directories=$(table Directory)
if [ "$platform" = x64 ]; then program_files=ProgramFiles64Folder; else program_files=ProgramFilesFolder; fi
expect "Tolvern folder in Program Files" "$directories" $'TolvernFolder\t'"$program_files"$'\tTolvern'
expect "install folder" "$directories" $'INSTALLDIR\tTolvernFolder\tOrvella Client'
expect "Start-menu folder" "$directories" $'ShortcutFolder\tProgramMenuFolder\tTolvern Orvella Client'

shortcuts=$(table Shortcut | cut -f2,5)
expect "Start-menu shortcut to ClientConfig.exe" "$shortcuts" $'ShortcutFolder\t[INSTALLDIR]ClientConfig.exe'

# Major upgrade: older versions of this edition are found and removed.
upgrades=$(table Upgrade | cut -f1-3,5,7)
expect "older versions of the edition are upgraded" "$upgrades" "$upgrade_code"$'\t\t4.1.0.5\t1\tWIX_UPGRADE_DETECTED'
sequence=$(table InstallExecuteSequence | cut -f1)
expect "RemoveExistingProducts is sequenced" "$sequence" "RemoveExistingProducts"

if [ -n "$setup_exe" ]; then
  if python3 - "$msi" "$setup_exe" <<'PY'
import sys
package = open(sys.argv[1], "rb").read()
program = open(sys.argv[2], "rb").read()
sys.exit(0 if program.find(package) >= 0 else 1)
PY
  then
    echo "ok: $(basename "$setup_exe") carries the package"
  else
    echo "FAILED: $(basename "$setup_exe") does not carry this package"
    failures=$((failures + 1))
  fi
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
