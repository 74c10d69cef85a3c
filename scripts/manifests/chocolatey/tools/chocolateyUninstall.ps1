$ErrorActionPreference = 'Stop'
$toolsDir = Split-Path -Parent $MyInvocation.MyCommand.Definition
$velmora = Join-Path $toolsDir 'Velmora.com'

# What Velmora made for the user outside the package: its terminal
# launchers and its folder on PATH, its Explorer verb and its SendTo entry.
if (Test-Path $velmora) {
  & $velmora terminal off --all --user | Out-Null
  & $velmora explorer off | Out-Null
}
Uninstall-BinFile -Name 'velmora'
