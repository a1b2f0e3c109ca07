object fStacja: TStationForm
  Left = 10
  Top = 10
  BorderStyle = bsSingle
  Caption = 'Stacja przykładowa'
  ClientWidth = 760
  ClientHeight = 296
  Color = clWhite
  Font.Name = 'Tahoma'
  Font.Height = -11
  ShowHint = True
  object ZA1: TZapowiedz
    Left = 14
    Top = 24
    Width = 24
    Height = 10
    Color = 8454143
    Czas = 5
  end
  object WA: TWlot
    Left = 8
    Top = 54
    Width = 40
    Height = 13
    Typ = stLewy
    RodzajWlotu = rwWlotWylot
    Zapowiedz = ZA1
    ZapowiedzRozkladu = ZA1
  end
  object SA1: TSemafor
    Left = 78
    Top = 53
    Typ = stPrawy
    CustomOffsetY = -12
  end
  object ZW1: TZwrotnica
    Left = 124
    Top = 52
    Typ = JedenNaDwa
    LewyUkladRysowania = urSrodek
    PrawyUkladRysowania = urDol
  end
  object SA2: TSemafor
    Left = 170
    Top = 53
    Typ = stLewy
    CustomOffsetY = -12
  end
  object PE1: TPeron
    Left = 210
    Top = 53
    Width = 110
    Height = 16
    Typ = stLewy
    CustomOffsetX = 40
    CustomOffsetY = -12
  end
  object SA3: TSemafor
    Left = 340
    Top = 53
    Typ = stPrawy
    CustomOffsetY = -12
  end
  object PTA1: TPunktTorowy
    Left = 384
    Top = 53
    Width = 24
    Height = 16
    CustomOffsetY = 18
  end
  object RG1: TRogatka
    Left = 440
    Top = 38
    Width = 16
    Height = 12
    Podniesione = False
    CustomOffsetX = -22
    CustomOffsetY = 1
  end
  object RD1: TRogatka
    Left = 440
    Top = 70
    Width = 16
    Height = 12
    Podniesione = False
    CustomOffsetX = -22
    CustomOffsetY = 1
  end
  object PR1: TPrzejazd
    Left = 462
    Top = 30
    Width = 16
    Height = 25
    Typ = gora
  end
  object PTA2: TPunktTorowy
    Left = 500
    Top = 53
    Width = 24
    Height = 16
    CustomOffsetY = 18
  end
  object SA4: TSemafor
    Left = 556
    Top = 53
    Typ = stLewy
    CustomOffsetY = -12
  end
  object WB: TWlot
    Left = 600
    Top = 54
    Width = 40
    Height = 13
    Typ = stPrawy
    RodzajWlotu = rwWlotWylot
    Zapowiedz = ZB1
    ZapowiedzRozkladu = ZB1
  end
  object ZB1: TZapowiedz
    Left = 608
    Top = 24
    Width = 24
    Height = 10
    Color = 8454143
    Czas = 5
  end
  object BO1: TBocznica
    Left = 20
    Top = 133
    Width = 60
    Height = 16
    Typ = stLewy
  end
  object ZW2: TZwrotnica
    Left = 184
    Top = 132
    Typ = DwaNaJeden
    LewyUkladRysowania = urGora
    PrawyUkladRysowania = urSrodek
  end
  object PE2: TPeron
    Left = 230
    Top = 133
    Width = 110
    Height = 16
    Typ = stPrawy
    CustomOffsetX = 40
    CustomOffsetY = 18
  end
  object PTB1: TPunktTorowy
    Left = 384
    Top = 133
    Width = 24
    Height = 16
  end
  object TA1: TTor
    LewyPunkt = WA
    PrawyPunkt = SA1
  end
  object TA2: TTor
    LewyPunkt = SA1
    PrawyPunkt = ZW1
  end
  object TA3: TTor
    LewyPunkt = ZW1
    PrawyPunkt = SA2
  end
  object TA4: TTor
    LewyPunkt = SA2
    PrawyPunkt = PE1
  end
  object TA5: TTor
    LewyPunkt = PE1
    PrawyPunkt = SA3
  end
  object TA6: TTor
    LewyPunkt = SA3
    PrawyPunkt = PTA1
  end
  object TA7: TTor
    RogatkaGorne = RG1
    RogatkaDolne = RD1
    PrzejazdGorne = PR1
    LewyPunkt = PTA1
    PrawyPunkt = PTA2
  end
  object TA8: TTor
    LewyPunkt = PTA2
    PrawyPunkt = SA4
  end
  object TA9: TTor
    LewyPunkt = SA4
    PrawyPunkt = WB
  end
  object TL: TTor
    Lacznikowy = True
    LewyStatus = dol
    PrawyStatus = dol
    LewyPunkt = ZW1
    PrawyPunkt = ZW2
  end
  object TB1: TTor
    LewyPunkt = BO1
    PrawyPunkt = ZW2
  end
  object TB2: TTor
    LewyPunkt = ZW2
    PrawyPunkt = PE2
  end
  object TB3: TTor
    LewyPunkt = PE2
    PrawyPunkt = PTB1
  end
  object bWA: TPunktButton
    Left = 6
    Top = 178
    Width = 60
    Height = 34
    Element = WA
  end
  object bZA1: TPunktButton
    Left = 68
    Top = 178
    Width = 60
    Height = 34
    Element = ZA1
  end
  object bSA1: TPunktButton
    Left = 130
    Top = 178
    Width = 60
    Height = 34
    Element = SA1
  end
  object bZW1: TPunktButton
    Left = 192
    Top = 178
    Width = 60
    Height = 34
    Element = ZW1
  end
  object bSA2: TPunktButton
    Left = 254
    Top = 178
    Width = 60
    Height = 34
    Element = SA2
  end
  object bPE1: TPunktButton
    Left = 316
    Top = 178
    Width = 60
    Height = 34
    Element = PE1
  end
  object bSA3: TPunktButton
    Left = 378
    Top = 178
    Width = 60
    Height = 34
    Element = SA3
  end
  object bPTA1: TPunktButton
    Left = 440
    Top = 178
    Width = 60
    Height = 34
    Element = PTA1
  end
  object bRG1: TPunktButton
    Left = 502
    Top = 178
    Width = 60
    Height = 34
    Element = RG1
  end
  object bRD1: TPunktButton
    Left = 564
    Top = 178
    Width = 60
    Height = 34
    Element = RD1
  end
  object bPR1: TPunktButton
    Left = 626
    Top = 178
    Width = 60
    Height = 34
    Element = PR1
  end
  object bPTA2: TPunktButton
    Left = 688
    Top = 178
    Width = 60
    Height = 34
    Element = PTA2
  end
  object bSA4: TPunktButton
    Left = 6
    Top = 216
    Width = 60
    Height = 34
    Element = SA4
  end
  object bWB: TPunktButton
    Left = 68
    Top = 216
    Width = 60
    Height = 34
    Element = WB
  end
  object bZB1: TPunktButton
    Left = 130
    Top = 216
    Width = 60
    Height = 34
    Element = ZB1
  end
  object bBO1: TPunktButton
    Left = 192
    Top = 216
    Width = 60
    Height = 34
    Element = BO1
  end
  object bZW2: TPunktButton
    Left = 254
    Top = 216
    Width = 60
    Height = 34
    Element = ZW2
  end
  object bPE2: TPunktButton
    Left = 316
    Top = 216
    Width = 60
    Height = 34
    Element = PE2
  end
  object bPTB1: TPunktButton
    Left = 378
    Top = 216
    Width = 60
    Height = 34
    Element = PTB1
  end
  object bTL: TPunktButton
    Left = 440
    Top = 216
    Width = 60
    Height = 34
    Element = TL
  end
  object bTA1: TPunktButton
    Left = 502
    Top = 216
    Width = 60
    Height = 34
    Element = TA1
  end
  object bTA2: TPunktButton
    Left = 564
    Top = 216
    Width = 60
    Height = 34
    Element = TA2
  end
  object bTA3: TPunktButton
    Left = 626
    Top = 216
    Width = 60
    Height = 34
    Element = TA3
  end
  object bTA4: TPunktButton
    Left = 688
    Top = 216
    Width = 60
    Height = 34
    Element = TA4
  end
  object bTA5: TPunktButton
    Left = 6
    Top = 254
    Width = 60
    Height = 34
    Element = TA5
  end
  object bTA6: TPunktButton
    Left = 68
    Top = 254
    Width = 60
    Height = 34
    Element = TA6
  end
  object bTA7: TPunktButton
    Left = 130
    Top = 254
    Width = 60
    Height = 34
    Element = TA7
  end
  object bTA8: TPunktButton
    Left = 192
    Top = 254
    Width = 60
    Height = 34
    Element = TA8
  end
  object bTA9: TPunktButton
    Left = 254
    Top = 254
    Width = 60
    Height = 34
    Element = TA9
  end
  object bTB1: TPunktButton
    Left = 316
    Top = 254
    Width = 60
    Height = 34
    Element = TB1
  end
  object bTB2: TPunktButton
    Left = 378
    Top = 254
    Width = 60
    Height = 34
    Element = TB2
  end
  object bTB3: TPunktButton
    Left = 440
    Top = 254
    Width = 60
    Height = 34
    Element = TB3
  end
  object bZerwij: TSpecialPunktButton
    Left = 506
    Top = 254
    Width = 122
    Height = 34
    TYp = tsZerwijUtwierdzenie
    Hint = 'Zrywa wszystkie ustawione drogi'
  end
  object bInfo: TSpecialPunktButton
    Left = 650
    Top = 96
    Width = 104
    Height = 66
    TYp = tsWiecejInformacji
    Element = PE1
    Hint = 'Więcej informacji'
  end
end
