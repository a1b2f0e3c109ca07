object fPrzyklad: TSampleForm
  Left = 40
  Top = 40
  BorderStyle = bsSingle
  Caption = 'Przykładowy formularz'
  ClientWidth = 400
  ClientHeight = 230
  Color = clBtnFace
  Font.Name = 'Tahoma'
  Font.Height = -11
  object pnGora: TPanel
    Align = alTop
    Height = 41
    Color = 5266486
    BevelOuter = bvNone
    object lbTytul: TLabel
      Left = 12
      Top = 6
      Caption = 'Dane użytkownika'
      Font.Color = clWhite
      Font.Height = -21
      Font.Name = 'Tahoma'
    end
  end
  object lbImie: TLabel
    Left = 16
    Top = 60
    Caption = '&Imię:'
    FocusControl = eImie
  end
  object eImie: TEdit
    Left = 100
    Top = 56
    Width = 160
    Text = 'Zażółć gęślą jaźń'
  end
  object cbZgoda: TCheckBox
    Left = 100
    Top = 88
    Width = 200
    Caption = 'Zapamiętaj &dane'
    Checked = True
  end
  object lbMiasta: TListBox
    Left = 100
    Top = 116
    Width = 160
    Height = 60
    Items.Strings = (
      'Łódź'
      'Kraków'
      'Gdańsk')
  end
  object pbPostep: TProgressBar
    Left = 16
    Top = 190
    Width = 244
    Height = 16
    Position = 60
  end
  object bOK: TButton
    Left = 300
    Top = 150
    Width = 80
    Caption = 'OK'
    Default = True
  end
  object bAnuluj: TButton
    Left = 300
    Top = 182
    Width = 80
    Caption = 'Anuluj'
    Cancel = True
  end
end
